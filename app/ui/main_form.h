#pragma once
// The program's main window: a multiple-document frame with the menus, the toolbar and the status bar.
// It holds the document controller (the problem, its tables, the result plots) for the life of the
// program and dispatches every command to it or to the window that carries it out.

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/model/command_rules.h"
#include "app/session/document_controller.h"
#include "app/ui/design/design_window.h"
#include "app/ui/dialogs/data_dialogs.h"
#include "app/ui/dialogs/dlg_report.h"
#include "app/ui/settings_store.h"
#include "app/widgets/child_window.h"
#include "app/widgets/messages.h"
#include "engine/version.h"

class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace app::ui {
class TDlgStaged;
}
namespace app::results {
class TDlgExport;
class TDlgBlock;
}  // namespace app::results

namespace app::ui {

/// The boxes and system services the window uses to talk to the user; tests script them.
class TDialogs {
public:
    virtual ~TDialogs() = default;
    virtual void Information(QWidget* parent, const QString& text);
    virtual app::model::TPromptAnswer YesNoCancel(QWidget* parent, const QString& question);
    virtual bool YesNo(QWidget* parent, const QString& question);
    /// The warning after a run in which not every problem converged; true when the user asks for the
    /// report.
    virtual bool RunWarning(QWidget* parent, const QString& text);
    virtual std::optional<session::TOpenChoice> OpenFile(QWidget* parent);
    virtual std::optional<std::string> SaveFile(QWidget* parent, const QString& initial,
                                                const QString& title);
    /// The report's file and parts (the Export Calculation Report dialog); nullopt when cancelled.
    virtual std::optional<TReportChoice> ReportChoice(QWidget* parent, const QString& initial);
    /// Hands an address to the desktop's default handler (a browser).
    virtual bool OpenUrl(const QUrl& url);
    /// Hands a file to the desktop's handler; a handler that cannot open it is told to the user
    /// with the file and its folder, when it has finished.
    virtual void OpenDocument(QWidget* parent, const QString& path);
    /// Whether files can be written in `folder` (an installed example's folder cannot).
    virtual bool CanWriteIn(const QString& folder);
};

struct TMainFormOptions {
    QString ProgramFolder;  // where the engine and the manuals are; empty: the executable's folder
    QString SettingsFile;   // empty: the user's settings
    std::unique_ptr<TDialogs> Dialogs;
};

inline constexpr const char* kApplicationTitle = "DRENOK 2015";
inline constexpr const char* kContentsFile = "DRENOK_2015.html";
inline constexpr const char* kUsersManualFile = "DRENOK 2015 Users Manual.pdf";
inline constexpr const char* kTechnicalManualFile = "DRENOK 2015 Technical Manual.pdf";
inline constexpr const char* kUpdateQuery = "checkupdates/check/check.php?DRENOK;" DRENOK_VERSION ";11/12/15";
inline constexpr int kWindowListSize = 50;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(TMainFormOptions options = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    [[nodiscard]] session::TDocumentController& Document() { return *m_document; }
    [[nodiscard]] QMdiArea* MdiArea() const { return m_mdi; }
    /// The menu or toolbar action of `command`.
    [[nodiscard]] QAction* CommandAction(app::model::TCommand command) const;
    /// The stage number shown in the status bar.
    [[nodiscard]] QString StatusText() const;
    [[nodiscard]] QString WordProcessor() const { return m_wordProcessor; }

    /// Opens the command line's data file, or keeps the new problem.
    void OpenFromCommandLine(const QString& argument);
    /// The same with the argument's bytes as the system passed them (file names need not be UTF-8).
    void OpenFromCommandLineBytes(const std::string& argument);
    /// Menus, buttons and title follow the problem.
    void RefreshCommands();
    /// Opens the graph window of `plot`, or brings it forward.
    void OpenPlot(app::model::TGraphPlot& plot);
    /// Called with the export dialog before it is shown (tests script its file dialog and handler).
    void SetExportSetup(std::function<void(app::results::TDlgExport&)> setup) {
        m_exportSetup = std::move(setup);
    }
    /// The data dialog of `kind` when it is open.
    [[nodiscard]] QWidget* DialogWindow(TDialogKind kind) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* addCommand(QMenu* menu, app::model::TCommand command, const QString& text);
    QAction* addAction(QMenu* menu, const QString& text, const char* name, void (TMainForm::*slot)());
    void createMenus();
    void createToolBar();
    void readSettings();
    void writeSettings();
    session::TDocumentPorts makePorts();

    /// Runs a command; an error that reaches here is shown, never passed on.
    template <typename F>
    void guarded(F&& command);
    void commitActiveChild();
    void showInformation(const QString& text);

    void refreshFileMenu();
    void refreshWindowMenu();
    void openHelpFile(const char* name);
    void openStagedDialog(bool modal);
    void openDialog(TDialogKind kind);
    void openTable(app::model::TGridTable& table);
    /// The window `slot` holds brought forward (nullptr returned), or a new one made by `make` and
    /// shown; one window of each kind at a time.
    QMdiSubWindow* showOnce(QPointer<QMdiSubWindow>& slot, const std::function<QWidget*()>& make,
                            bool maximized = false);
    std::function<const app::model::TProgramData&()> currentModel();
    void installEditorFactory();
    void subWindowActivated(QMdiSubWindow* window);
    void reloadChildren();
    void refreshResultNotices();
    void updatePlotMenu();

    // Commands.
    void NewClick();
    void OpenClick();
    void SaveClick();
    void SaveAsClick();
    void RecentClick(int index);
    void RunAnalysisClick();
    void AboutClick();
    void CheckUpdatesClick();
    void ArrangeIconsClick();
    void ExportClick();
    void ExportReportClick();
    void SideViewClick();
    void SectionDrawingClick();
    /// The results summary (brought to the front, with the latest results) and the node tables.
    void OpenSummary();
    /// Design > Limit Equilibrium, Embedment Sweep, Sections: the design window at that page.
    void OpenDesign(TDesignWindow::TPage page);
    /// Edit > Undo and Redo.
    void UndoClick();
    void RedoClick();
    void OpenNodeTables();
    void View3DClick();
    [[nodiscard]] app::results::TDlgBlock* view3D() const;

    TMainFormOptions m_options;
    std::unique_ptr<session::TDocumentController> m_document;
    TSettingsStore m_settings;
    TSettingsValues m_values;
    QString m_wordProcessor;

    QMdiArea* m_mdi = nullptr;
    QLabel* m_status = nullptr;
    QToolBar* m_toolBar = nullptr;
    std::array<QAction*, app::model::kCommandCount> m_commands{};
    std::array<QAction*, app::model::TRecentFiles::kMaxEntries> m_recentActions{};
    QAction* m_recentSeparator = nullptr;
    std::array<QAction*, kWindowListSize> m_windowActions{};
    QMenu* m_soilMenu = nullptr;
    QMenu* m_distributedMenu = nullptr;
    QMenu* m_stageMenu = nullptr;
    QMenu* m_show3DMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    QList<QAction*> m_view3DButtons;
    QPointer<TDlgStaged> m_stagedDialog;  // the toolbar's non-modal one
    std::array<QPointer<QMdiSubWindow>, 8> m_dialogs{};
    QPointer<QMdiSubWindow> m_activeChild;
    bool m_switchingChild = false;
    std::map<const app::model::TGraphPlot*, QPointer<QMdiSubWindow>> m_plotWindows;
    QPointer<QMenu> m_plotMenu;
    std::function<void(app::results::TDlgExport&)> m_exportSetup;
    QPointer<QMdiSubWindow> m_sideView;
    QPointer<QMdiSubWindow> m_sectionDrawing;
    QPointer<QMdiSubWindow> m_summary;
    QPointer<QMdiSubWindow> m_design;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QPointer<QMdiSubWindow> m_nodeTables;
    QPointer<QMdiSubWindow> m_view3D;
    widgets::TMessageFunction m_previousMessages;
    widgets::TQuestionFunction m_previousQuestions;
    bool m_busy = false;
};

}  // namespace app::ui
