#include "gui/common/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <utility>

namespace qeltaro::gui {
namespace {

constexpr const char* kLocaleVariable = "LC_ALL";

// Words Qt's Chinese translations leave in English.
class MissingQtWords : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0 && qstrcmp(context, "QFileSystemModel") != 0)
            return {};
        static const std::pair<const char*, const char16_t*> words[] = {
            {"Folder", u"文件夹"}, {"File", u"文件"}, {"Drive", u"驱动器"}, {"%1 File", u"%1 文件"},
            {"Alias", u"别名"},    {"Shortcut", u"快捷方式"}};
        for (const auto& [english, chinese] : words) {
            if (qstrcmp(sourceText, english) == 0)
                return QString::fromUtf16(chinese);
        }
        return {};
    }
};

}  // namespace

ChineseSystemLocale::ChineseSystemLocale()
    : saved_(qgetenv(kLocaleVariable)), wasSet_(qEnvironmentVariableIsSet(kLocaleVariable))
{
    qputenv(kLocaleVariable, "zh_CN.UTF-8");
}

ChineseSystemLocale::~ChineseSystemLocale()
{
    // Qt has read it by now; reading once more makes sure before the variable goes.
    (void)QLocale::system().name();
    if (wasSet_)
        qputenv(kLocaleVariable, saved_);
    else
        qunsetenv(kLocaleVariable);
}

bool installQtTranslations(QCoreApplication& application)
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    auto* translator = new QTranslator(&application);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    // Installed last, asked first: only for the words above.
    QCoreApplication::installTranslator(new MissingQtWords(&application));
    return true;
}

}  // namespace qeltaro::gui
