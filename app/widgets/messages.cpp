#include "app/widgets/messages.h"

#include <QMessageBox>
#include <utility>

namespace app::widgets {

namespace {

TMessageFunction& current() {
    static TMessageFunction function;
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

}  // namespace app::widgets
