#include "app/widgets/messages.h"

#include <QMessageBox>
#include <QObject>
#include <utility>

#include "app/model/run_outcome.h"

namespace app::widgets {

namespace {

TMessageFunction& current() {
    static TMessageFunction function;
    return function;
}

TQuestionFunction& currentQuestion() {
    static TQuestionFunction function;
    return function;
}

}  // namespace

void ShowInformation(QWidget* parent, const QString& text) {
    if (current()) {
        current()(parent, text);
        return;
    }
    QMessageBox::information(parent, QStringLiteral("DRENOK 2015"), text);
}

TMessageFunction SetMessageFunction(TMessageFunction function) {
    return std::exchange(current(), std::move(function));
}

bool AskYesNo(QWidget* parent, const QString& question) {
    if (currentQuestion()) return currentQuestion()(parent, question);
    return QMessageBox::question(parent, QStringLiteral("DRENOK 2015"), question,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

TQuestionFunction SetQuestionFunction(TQuestionFunction function) {
    return std::exchange(currentQuestion(), std::move(function));
}

bool ConfirmResultsOutput(QWidget* parent, const std::string& notice) {
    if (notice.find(app::model::kOutOfDateNotice) == std::string::npos) return true;
    return AskYesNo(parent, QObject::tr("The results are %1.\nPrint or export them anyway?")
                                .arg(QString::fromUtf8(app::model::kOutOfDateNotice)));
}

}  // namespace app::widgets
