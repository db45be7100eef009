#pragma once
// The information box every window of the program uses for its messages. The main window routes it
// through its own dialogs, so tests can read the messages instead of clicking them away.

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace app::widgets {

using TMessageFunction = std::function<void(QWidget* parent, const QString& text)>;

/// An information box with an OK button (or what SetMessageFunction installed).
void ShowInformation(QWidget* parent, const QString& text);
/// Replaces the box; an empty function restores it. Returns the previous one.
TMessageFunction SetMessageFunction(TMessageFunction function);

using TQuestionFunction = std::function<bool(QWidget* parent, const QString& question)>;

/// A question with Yes and No (or what SetQuestionFunction installed); true for Yes.
bool AskYesNo(QWidget* parent, const QString& question);
/// Replaces the question box; an empty function restores it. Returns the previous one.
TQuestionFunction SetQuestionFunction(TQuestionFunction function);

/// Before results with `notice` are printed or exported: true when they are current, or when the
/// user wants them although they are out of date.
bool ConfirmResultsOutput(QWidget* parent, const std::string& notice);

}  // namespace app::widgets
