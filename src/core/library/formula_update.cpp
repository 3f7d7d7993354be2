#include "library/formula_update.h"

#include "io/text_codec.h"
#include "library/formula_entry.h"
#include "library/formula_library.h"
#include "store/in_transaction.h"
#include "store/store.h"

namespace qeltaro {

QString formulaUpdateQuestion()
{
    return QStringLiteral(
        "确实要在线更新公式吗？因为时时彩开奖频繁，该公式可能并不是当前最新的，因此自己搜索会更有时效性"
        "（软件已经设置了默认搜索的参数，也可以手动变更）。同意更新将删除软件中现有的所有公式，并可能要花费一段时间，"
        "网络不通或者我方服务器更新不及时可能都造成更新失败！");
}

QString formulaUpdateTitle() { return QStringLiteral("读入历史"); }

QString formulaUrlMissingMessage()
{
    return QStringLiteral("没有设置公式网址（公式文件的下载地址），无法在线更新公式");
}

Result<FormulaUpdateReport> applyFormulaDownload(Store& store, const QByteArray& bytes, const FormulaListKey& current)
{
    FormulaUpdateReport report;
    report.bytes = bytes.size();
    report.savedPath = store.dataDir() + u'/' + QString::fromUtf16(kDownloadedFormulasFileName);
    if (Status s = writeFileAtomically(report.savedPath, bytes); !s)
        return s.error();
    if (bytes.size() <= kShortestFormulaFile)
        return badInput(QStringLiteral("下载的公式文件只有%1字节（不超过%2字节），不是有效的公式文件，公式没有更新")
                            .arg(bytes.size())
                            .arg(kShortestFormulaFile));

    PreparedLines prepared = prepareFileLines(decodeText(bytes), current.kind);
    // Replacing the library by nothing would only lose it.
    if (prepared.formulas.empty())
        return badInput(QStringLiteral("下载的公式文件中没有可识别的公式，公式没有更新"));

    auto backup = store.backup(QStringLiteral("formula-update"));
    if (!backup)
        return backup.error();
    report.backupPath = *backup;
    auto appended = inTransaction(store.database(), [&]() -> Result<AppendReport> {
        if (Status s = clearFormulaTables(store); !s)
            return s.error();
        return appendFormulas(store, prepared.formulas, AfterAppend::Renumber);
    });
    if (!appended)
        return appended.error();

    report.stored = int(prepared.formulas.size());
    report.skipped = int(prepared.unrecognised.size());
    report.tables = std::move(appended->tables);
    report.list = {current.category, prepared.finalKind};
    return report;
}

Result<FormulaUpdateReport> updateFormulasOnline(Store& store, const QString& url, const FormulaListKey& current,
                                                 const HttpGetLimits& limits, const Progress* progress)
{
    if (url.trimmed().isEmpty())
        return badInput(formulaUrlMissingMessage());
    auto bytes = httpGet(QUrl(url.trimmed()), limits, progress);
    if (!bytes)
        return bytes.error();
    return applyFormulaDownload(store, *bytes, current);
}

}  // namespace qeltaro
