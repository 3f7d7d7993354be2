// The message and input boxes as a person sees them: in Chinese, and on the screen.

#include "gui/common/dialogs.h"
#include "gui/common/qt_translations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QFileDialog>
#include <QtTest>

#include <memory>

using namespace qeltaro;

namespace {

// A button's words without its mnemonic: "是(&Y)" and "&Yes" become "是" and "Yes".
QString words(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    return text.remove(u'&');
}

QStringList buttonWords(const QDialogButtonBox* box)
{
    QStringList texts;
    for (const QAbstractButton* button : box->buttons())
        texts << words(button->text());
    texts.sort();
    return texts;
}

// Reads the next modal dialog as shown, then cancels it.
struct ModalReader {
    QStringList buttons;
    QString title;
    QSize size;
    QString details;
    void readWhenShown()
    {
        QTimer::singleShot(0, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) {
                readWhenShown();
                return;
            }
            title = modal->windowTitle();
            size = modal->size();
            if (auto* box = modal->findChild<QDialogButtonBox*>())
                buttons = buttonWords(box);
            if (auto* message = qobject_cast<QMessageBox*>(modal))
                details = message->detailedText();
            static_cast<QDialog*>(modal)->reject();
        });
    }
};

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(gui::installQtTranslations(*qApp)); }

    void questionsAndInputBoxesSpeakChinese()
    {
        gui::Dialogs::setScripted(false);
        ModalReader question;
        question.readWhenShown();
        QVERIFY(!gui::Dialogs::confirm(nullptr, QStringLiteral("删除"), QStringLiteral("确实要删除吗？")));
        QCOMPARE(question.title, QStringLiteral("删除"));
        QCOMPARE(question.buttons, (QStringList{QStringLiteral("取消"), QStringLiteral("确定")}));

        ModalReader input;
        input.readWhenShown();
        QVERIFY(!gui::Dialogs::askText(nullptr, QStringLiteral("设置天数"), QStringLiteral("天数"), QStringLiteral("3")));
        QCOMPARE(input.buttons, (QStringList{QStringLiteral("取消"), QStringLiteral("确定")}));

        QMessageBox yesNo(QMessageBox::Question, QStringLiteral("问"), QStringLiteral("继续吗？"),
                          QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(words(yesNo.button(QMessageBox::Yes)->text()), QStringLiteral("是"));
        QCOMPARE(words(yesNo.button(QMessageBox::No)->text()), QStringLiteral("否"));
    }

    void aLongMessageStaysOnTheScreenWithItsWholeTextBehindDetails()
    {
        gui::Dialogs::setScripted(false);
        QStringList lines;
        for (int page = 1; page <= 300; ++page)
            lines << QStringLiteral("第%1页读取失败：无法连接服务器").arg(page);
        const QString text = lines.join(u'\n');
        ModalReader message;
        message.readWhenShown();
        gui::Dialogs::warn(nullptr, QStringLiteral("在线更新"), text);
        QVERIFY2(message.size.height() <= 728 && message.size.width() <= 1366,
                 qPrintable(QStringLiteral("%1x%2").arg(message.size.width()).arg(message.size.height())));
        QCOMPARE(message.details, text);

        // A short one is shown as it is.
        ModalReader question;
        question.readWhenShown();
        QVERIFY(!gui::Dialogs::confirm(nullptr, QStringLiteral("在线更新"), lines.mid(0, 3).join(u'\n')));
        QVERIFY(question.details.isEmpty());
    }

    void theFolderChooserSpeaksChineseDatesAndWords()
    {
        gui::Dialogs::setScripted(false);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("历史")));
        QString type, modified;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* view = dialog->findChild<QTreeView*>();
            QTRY_VERIFY(view && view->model()->rowCount(view->rootIndex()) > 0);
            const QModelIndex row = view->model()->index(0, 0, view->rootIndex());
            type = row.siblingAtColumn(2).data().toString();
            modified = row.siblingAtColumn(3).data().toString();
            dialog->reject();
        });
        gui::Dialogs::chooseFolder(nullptr, QStringLiteral("切换数据文件夹"), folder.path());
        QCOMPARE(type, QStringLiteral("文件夹"));
        // Today as Chinese writes it: year first, no English month names.
        QVERIFY2(modified.startsWith(QString::number(QDate::currentDate().year())), qPrintable(modified));
    }

    void aTextBoxContextMenuSpeaksChinese()
    {
        QLineEdit box(QStringLiteral("12345"));
        std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator())
                texts << words(action->text()).section(u'\t', 0, 0);
        }
        QVERIFY2(texts.contains(QStringLiteral("复制")), qPrintable(texts.join(u',')));
        QVERIFY2(texts.contains(QStringLiteral("粘贴")), qPrintable(texts.join(u',')));
    }
};

// As the desktop program starts: Qt takes its system language while the application is made.
int main(int argc, char** argv)
{
    auto chinese = std::make_unique<gui::ChineseSystemLocale>();
    QApplication application(argc, argv);
    chinese.reset();
    DialogsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "dialogs_test.moc"
