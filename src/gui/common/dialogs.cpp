#include "gui/common/dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include <deque>

namespace qeltaro::gui {
namespace {

bool scripted = false;
std::deque<QString> answers;
QStringList log;

std::optional<QString> nextAnswer(const QString& title, const QString& text)
{
    log << title + QStringLiteral(": ") + text;
    if (answers.empty())
        return std::nullopt;
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace

bool Dialogs::confirm(QWidget* parent, const QString& title, const QString& text)
{
    if (scripted)
        return nextAnswer(title, text).value_or(QStringLiteral("cancel")) == QLatin1String("ok");
    return QMessageBox::question(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
           QMessageBox::Ok;
}

void Dialogs::inform(QWidget* parent, const QString& title, const QString& text)
{
    if (scripted) {
        nextAnswer(title, text);
        return;
    }
    QMessageBox::information(parent, title, text);
}

void Dialogs::warn(QWidget* parent, const QString& title, const QString& text)
{
    if (scripted) {
        nextAnswer(title, text);
        return;
    }
    QMessageBox::warning(parent, title, text);
}

std::optional<QString> Dialogs::askText(QWidget* parent, const QString& title, const QString& prompt,
                                        const QString& defaultText)
{
    if (scripted) {
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
    if (scripted) {
        auto answer = nextAnswer(title, folder);
        return answer && *answer != QLatin1String("cancel") ? *answer : QString();
    }
    return QFileDialog::getOpenFileName(parent, title, folder, filter);
}

QString Dialogs::saveFile(QWidget* parent, const QString& title, const QString& path, const QString& filter)
{
    if (scripted) {
        auto answer = nextAnswer(title, path);
        return answer && *answer != QLatin1String("cancel") ? *answer : QString();
    }
    return QFileDialog::getSaveFileName(parent, title, path, filter);
}

void Dialogs::setScripted(bool value)
{
    scripted = value;
    answers.clear();
    log.clear();
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

}  // namespace qeltaro::gui
