#include "gui/common/dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <deque>

namespace qeltaro::gui {
namespace {

bool scripted = false;
std::deque<QString> answers;
QStringList log;
QString prefill;

std::optional<QString> nextAnswer(const QString& title, const QString& text)
{
    log << title + QStringLiteral(": ") + text;
    if (answers.empty())
        return std::nullopt;
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

// A file or folder name from the queue; empty for "cancel" or none.
QString scriptedPath(const QString& title, const QString& shown)
{
    auto answer = nextAnswer(title, shown);
    return answer && *answer != QLatin1String("cancel") ? *answer : QString();
}

// A message box is as tall as its text: a longer message shows its start, and the whole text
// behind the box's details button, where it scrolls.
constexpr int kShownLines = 20;
constexpr int kShownCharacters = 1200;

QMessageBox::StandardButton showMessage(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, QString(), buttons, parent);
    box.setDefaultButton(defaultButton);
    const QStringList lines = text.split(u'\n');
    if (lines.size() > kShownLines || text.size() > kShownCharacters) {
        box.setText(lines.mid(0, kShownLines).join(u'\n').left(kShownCharacters) + QStringLiteral("\n……"));
        box.setDetailedText(text);
    } else {
        box.setText(text);
    }
    return QMessageBox::StandardButton(box.exec());
}

}  // namespace

bool Dialogs::confirm(QWidget* parent, const QString& title, const QString& text)
{
    if (scripted)
        return nextAnswer(title, text).value_or(QStringLiteral("cancel")) == QLatin1String("ok");
    return showMessage(parent, QMessageBox::Question, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                       QMessageBox::Ok) == QMessageBox::Ok;
}

void Dialogs::inform(QWidget* parent, const QString& title, const QString& text)
{
    if (scripted) {
        nextAnswer(title, text);
        return;
    }
    showMessage(parent, QMessageBox::Information, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void Dialogs::warn(QWidget* parent, const QString& title, const QString& text)
{
    if (scripted) {
        nextAnswer(title, text);
        return;
    }
    showMessage(parent, QMessageBox::Warning, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

Dialogs::UnsavedChoice Dialogs::askUnsaved(QWidget* parent, const QString& title, const QString& text)
{
    if (scripted) {
        const QString answer = nextAnswer(title, text).value_or(QString());
        return answer == QLatin1String("save")      ? UnsavedChoice::Save
               : answer == QLatin1String("discard") ? UnsavedChoice::Discard
                                                    : UnsavedChoice::Stay;
    }
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton(QStringLiteral("保存后关闭"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("不保存，关闭"), QMessageBox::DestructiveRole);
    QPushButton* stay = box.addButton(QStringLiteral("留在窗口"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(stay);
    box.exec();
    if (box.clickedButton() == save)
        return UnsavedChoice::Save;
    if (box.clickedButton() == discard)
        return UnsavedChoice::Discard;
    return UnsavedChoice::Stay;
}

std::optional<QString> Dialogs::askText(QWidget* parent, const QString& title, const QString& prompt,
                                        const QString& defaultText)
{
    if (scripted) {
        prefill = defaultText;
        auto answer = nextAnswer(title, prompt);
        if (!answer || *answer == QLatin1String("cancel"))
            return std::nullopt;
        return answer;
    }
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString Dialogs::openFile(QWidget* parent, const QString& title, const QString& folder, const QString& filter)
{
    if (scripted)
        return scriptedPath(title, folder);
    return QFileDialog::getOpenFileName(parent, title, folder, filter);
}

QString Dialogs::saveFile(QWidget* parent, const QString& title, const QString& path, const QString& filter)
{
    if (scripted)
        return scriptedPath(title, path);
    return QFileDialog::getSaveFileName(parent, title, path, filter);
}

QString Dialogs::chooseFolder(QWidget* parent, const QString& title, const QString& folder)
{
    if (scripted)
        return scriptedPath(title, folder);
    return QFileDialog::getExistingDirectory(parent, title, folder);
}

void Dialogs::setScripted(bool value)
{
    scripted = value;
    answers.clear();
    log.clear();
    prefill.clear();
}

void Dialogs::queueAnswer(const QString& answer)
{
    answers.push_back(answer);
}

QStringList Dialogs::takeLog()
{
    QStringList taken = log;
    log.clear();
    return taken;
}

QString Dialogs::lastPrefill()
{
    return prefill;
}

}  // namespace qeltaro::gui
