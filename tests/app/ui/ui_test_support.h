#pragma once
// What the window tests share: scripted boxes and file dialogs, a program with its own settings, and
// copies of the examples.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "../modal_support.h"
#include "app/ui/main_form.h"
#include "app/ui/settings_store.h"

namespace app::ui::testsupport {

using app::model::TCommand;
using app::model::TPromptAnswer;

class ScriptedDialogs : public TDialogs {
public:
    QStringList messages;
    QStringList questions;
    std::deque<TPromptAnswer> answers;  // Cancel when none is left
    bool yesNo = true;
    std::deque<std::optional<app::session::TOpenChoice>> opens;
    std::deque<std::optional<std::string>> saves;
    QStringList saveTitles;
    QList<QUrl> urls;

    void Information(QWidget*, const QString& text) override { messages << text; }
    TPromptAnswer YesNoCancel(QWidget*, const QString& question) override {
        questions << question;
        if (answers.empty()) return TPromptAnswer::Cancel;
        const TPromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool YesNo(QWidget*, const QString& question) override {
        questions << question;
        return yesNo;
    }
    std::optional<app::session::TOpenChoice> OpenFile(QWidget*) override {
        if (opens.empty()) return std::nullopt;
        auto choice = opens.front();
        opens.pop_front();
        return choice;
    }
    QStringList saveInitials;
    std::optional<std::string> SaveFile(QWidget*, const QString& initial, const QString& title) override {
        saveTitles << title;
        saveInitials << initial;
        if (saves.empty()) return std::nullopt;
        auto choice = saves.front();
        saves.pop_front();
        return choice;
    }
    QStringList warnings;
    bool openReport = false;  // the answer to a run warning
    bool RunWarning(QWidget*, const QString& text) override {
        warnings << text;
        return openReport;
    }
    std::deque<std::optional<TReportChoice>> reports;
    QStringList reportInitials;
    std::optional<TReportChoice> ReportChoice(QWidget*, const QString& initial) override {
        reportInitials << initial;
        if (reports.empty()) return std::nullopt;
        auto choice = reports.front();
        reports.pop_front();
        return choice;
    }
    QStringList documents;
    void OpenDocument(QWidget*, const QString& path) override { documents << path; }
    bool OpenUrl(const QUrl& url) override {
        urls << url;
        return true;
    }
    // Folders to treat as read-only (the tests run with rights that write anywhere).
    QStringList readOnly;
    bool CanWriteIn(const QString& folder) override {
        return !readOnly.contains(QDir(folder).absolutePath()) && TDialogs::CanWriteIn(folder);
    }
};

struct Program {
    QTemporaryDir settingsFolder;
    QString settingsFile = settingsFolder.filePath(QStringLiteral("settings.ini"));
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<TMainForm> form;

    explicit Program(const QString& programFolder = QStringLiteral(DRENOK_ENGINE_DIR),
                     const std::function<void(QSettings&)>& settings = {}) {
        QSettings ini(settingsFile, QSettings::IniFormat);
        ini.beginGroup(QString::fromLatin1(kSettingsKeyPath));
        // A harmless editor unless a test names another: nothing must pop up on the desktop.
        ini.setValue(QString::fromLatin1(kWordProcessorValue), QStringLiteral("/bin/true"));
        if (settings) settings(ini);
        ini.sync();
        auto scripted = std::make_unique<ScriptedDialogs>();
        dialogs = scripted.get();
        TMainFormOptions options;
        options.ProgramFolder = programFolder;
        options.SettingsFile = settingsFile;
        options.Dialogs = std::move(scripted);
        form = std::make_unique<TMainForm>(std::move(options));
    }
    QAction* action(TCommand command) const { return form->CommandAction(command); }
    QAction* named(const char* name) const { return form->findChild<QAction*>(QString::fromLatin1(name)); }
    void trigger(TCommand command) const { action(command)->trigger(); }
    void open(const QString& path, int filter = 1) {
        dialogs->opens.push_back(app::session::TOpenChoice{path.toStdString(), filter});
        named("FileOpen")->trigger();
    }
    QString lastMessage() const { return dialogs->messages.isEmpty() ? QString() : dialogs->messages.last(); }
};

inline QString copyExample(const QTemporaryDir& folder, const QString& name, const QString& as = QString()) {
    const QString target = folder.filePath(as.isEmpty() ? name : as);
    QFile::remove(target);
    QFile::copy(QStringLiteral(DRENOK_EXAMPLES "/") + name, target);
    QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

inline QStringList exampleNames() {
    return QDir(QStringLiteral(DRENOK_EXAMPLES))
        .entryList({QStringLiteral("*.dn5d")}, QDir::Files, QDir::Name);
}

using ::testsupport::onNextModal;

}  // namespace app::ui::testsupport
