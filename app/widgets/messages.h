#pragma once
// The information box every window of the program uses for its messages. The main window routes it
// through its own dialogs, so tests can read the messages instead of clicking them away.

#include <QString>
#include <functional>

class QWidget;

namespace app::widgets {

using TMessageFunction = std::function<void(QWidget* parent, const QString& text)>;

/// An information box with an OK button (or what SetMessageFunction installed).
void ShowInformation(QWidget* parent, const QString& text);
/// Replaces the box; an empty function restores it. Returns the previous one.
TMessageFunction SetMessageFunction(TMessageFunction function);

}  // namespace app::widgets
