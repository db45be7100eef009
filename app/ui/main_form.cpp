#include "app/ui/main_form.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <exception>

#include "app/model/run_files.h"
#include "app/results/export/dlg_export.h"
#include "app/results/graph/plot_form.h"
#include "app/results/summary/summary_window.h"
#include "app/results/view3d/dlg_block.h"
#include "app/results/views/section_window.h"
#include "app/results/views/side_view.h"
#include "app/session/desktop_open.h"
#include "app/ui/design/design_window.h"
#include "app/ui/dialogs/data_dialogs.h"
#include "app/ui/dialogs/dlg_about.h"
#include "app/ui/dialogs/dlg_staged.h"
#include "app/ui/dialogs/text_viewer.h"
#include "app/ui/editors/table_form.h"
#include "app/widgets/messages.h"

namespace app::ui {

using app::model::TCommand;
using app::model::TPromptAnswer;

namespace {

// Qt's filter list from the "name|pattern|name|pattern" form; "*.*" would miss names without a dot.
QStringList nameFilters(const char* filter) {
    const QStringList parts = QString::fromLatin1(filter).split(QLatin1Char('|'));
    QStringList names;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        names << name.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
    }
    return names;
}

// A small toolbar picture: a short label on a tinted tile, drawn rather than shipped as files.
QIcon glyphIcon(const QString& text, const QColor& colour) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(colour.darker(150));
    painter.setBrush(colour.lighter(170));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 5, 5);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(text.size() <= 1 ? 20 : text.size() == 2 ? 15 : 11);
    painter.setFont(font);
    painter.setPen(colour.darker(220));
    painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, text);
    return QIcon(pixmap);
}

}  // namespace

// ---- Boxes and services ----------------------------------------------------------------------------

void TDialogs::Information(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QString::fromLatin1(kApplicationTitle), text);
}

TPromptAnswer TDialogs::YesNoCancel(QWidget* parent, const QString& question) {
    const auto answer =
        QMessageBox::question(parent, QString::fromLatin1(kApplicationTitle), question,
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes) return TPromptAnswer::Yes;
    if (answer == QMessageBox::No) return TPromptAnswer::No;
    return TPromptAnswer::Cancel;
}

bool TDialogs::YesNo(QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, QString::fromLatin1(kApplicationTitle), question,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

bool TDialogs::RunWarning(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kApplicationTitle), text, QMessageBox::Ok,
                    parent);
    QPushButton* report = box.addButton(QObject::tr("Open &Report"), QMessageBox::ActionRole);
    box.setDefaultButton(report);
    box.exec();
    return box.clickedButton() == report;
}

std::optional<session::TOpenChoice> TDialogs::OpenFile(QWidget* parent) {
    QFileDialog dialog(parent, QObject::tr("Open"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList filters = nameFilters(app::model::kOpenFilter);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return session::TOpenChoice{dialog.selectedFiles().constFirst().toStdString(),
                                static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1};
}

std::optional<std::string> TDialogs::SaveFile(QWidget* parent, const QString& initial, const QString& title) {
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters(app::model::kSaveFilter));
    // A name typed without extension gets the current layout's, so the next Save needs no dialog.
    dialog.setDefaultSuffix(QStringLiteral("dn5d"));
    const QFileInfo start(initial);
    if (start.isAbsolute()) dialog.setDirectory(start.absolutePath());
    dialog.selectFile(start.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

std::optional<TReportChoice> TDialogs::ReportChoice(QWidget* parent, const QString& initial) {
    TDlgReport dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Choice();
}

bool TDialogs::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void TDialogs::OpenDocument(QWidget* parent, const QString& path) {
    session::OpenWithDesktop(path, parent,
                             [this, parent](const QString& message) { Information(parent, message); });
}

bool TDialogs::CanWriteIn(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

// ---- The window -------------------------------------------------------------------------------------

TMainForm::TMainForm(TMainFormOptions options, QWidget* parent)
    : QMainWindow(parent), m_options(std::move(options)), m_settings(m_options.SettingsFile) {
    if (m_options.ProgramFolder.isEmpty()) m_options.ProgramFolder = QCoreApplication::applicationDirPath();
    if (!m_options.Dialogs) m_options.Dialogs = std::make_unique<TDialogs>();
    m_document = std::make_unique<session::TDocumentController>(makePorts(), m_options.ProgramFolder);

    setObjectName(QStringLiteral("MainForm"));
    setAcceptDrops(true);
    m_mdi = new QMdiArea(this);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("StageStatus"));
    statusBar()->addWidget(m_status, 1);

    m_previousMessages = widgets::SetMessageFunction(
        [this](QWidget*, const QString& text) { m_options.Dialogs->Information(this, text); });
    m_previousQuestions = widgets::SetQuestionFunction(
        [this](QWidget*, const QString& question) { return m_options.Dialogs->YesNo(this, question); });
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &TMainForm::subWindowActivated);
    installEditorFactory();
    createMenus();
    createToolBar();
    readSettings();
    m_document->RecentFiles().OnChanged = [this] {
        m_settings.WriteFiles(m_document->RecentFiles().Values());
    };
    RefreshCommands();
    resize(1100, 760);
}

TMainForm::~TMainForm() {
    // Closing the children activates others while the document is going: no slot may run then.
    if (m_mdi) disconnect(m_mdi, nullptr, this, nullptr);
    // The tables outlive no window: their editors go first, without asking.
    m_document->PlainRegistry().SetEditorFactory({});
    m_document->ChartRegistry().SetEditorFactory({});
    for (app::model::TGridTable* table : m_document->Tables().All())
        table->CloseEditor();
    widgets::SetMessageFunction(m_previousMessages);
    widgets::SetQuestionFunction(m_previousQuestions);
}

void TMainForm::installEditorFactory() {
    auto factory = [this](app::model::TGridTable& table,
                          app::model::TEditorMode mode) -> std::unique_ptr<app::model::TTableEditor> {
        TTableForm* form = table.IsChart()
                               ? new TTableChartForm(static_cast<app::model::TGridTableChart&>(table),
                                                     [this] { return m_wordProcessor; })
                               : new TTableForm(table);
        if (mode == app::model::TEditorMode::Modal) {
            form->SetModalRun();
            TModalTableDialog dialog(form, this);
            dialog.exec();
            return nullptr;
        }
        if (mode == app::model::TEditorMode::Embedded && table.FormParent()) {
            form->setParent(static_cast<QWidget*>(table.FormParent()));
            form->move(0, 0);
            form->show();
            return std::make_unique<TTableEditorLink>(form);
        }
        QMdiSubWindow* sub = m_mdi->addSubWindow(form);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->show();
        m_mdi->setActiveSubWindow(sub);
        return std::make_unique<TTableEditorLink>(form);
    };
    m_document->PlainRegistry().SetEditorFactory(factory);
    m_document->ChartRegistry().SetEditorFactory(factory);
}

QMdiSubWindow* TMainForm::showOnce(QPointer<QMdiSubWindow>& slot, const std::function<QWidget*()>& make,
                                   bool maximized) {
    if (slot) {
        if (!maximized) slot->showNormal();
        m_mdi->setActiveSubWindow(slot);
        return nullptr;
    }
    QMdiSubWindow* sub = m_mdi->addSubWindow(make());
    sub->setAttribute(Qt::WA_DeleteOnClose);
    slot = sub;
    m_mdi->setActiveSubWindow(sub);
    if (maximized)
        sub->showMaximized();
    else
        sub->show();
    return sub;
}

std::function<const app::model::TProgramData&()> TMainForm::currentModel() {
    // New and Open replace the problem object; windows that keep drawing it ask for it each time.
    return [this]() -> const app::model::TProgramData& { return m_document->Model(); };
}

void TMainForm::openDialog(TDialogKind kind) {
    guarded([&] {
        showOnce(m_dialogs[static_cast<std::size_t>(kind)], [&]() -> QWidget* {
            return CreateDataDialog(
                kind, *m_document, [this] { return m_wordProcessor; },
                [this](const QString& editor) {
                    m_wordProcessor = editor;
                    writeSettings();
                });
        });
    });
}

void TMainForm::openTable(app::model::TGridTable& table) {
    guarded([&] { table.ShowEditor(); });
}

QWidget* TMainForm::DialogWindow(TDialogKind kind) const {
    const QPointer<QMdiSubWindow>& slot = m_dialogs[static_cast<std::size_t>(kind)];
    return slot ? slot->widget() : nullptr;
}

void TMainForm::OpenPlot(app::model::TGraphPlot& plot) {
    guarded([&] {
        if (showOnce(
                m_plotWindows[&plot], [&plot] { return new app::results::TPlotForm(plot); }, true))
            updatePlotMenu();
    });
}

app::results::TDlgBlock* TMainForm::view3D() const {
    return m_view3D ? qobject_cast<app::results::TDlgBlock*>(m_view3D->widget()) : nullptr;
}

void TMainForm::View3DClick() {
    guarded([&] {
        QMdiSubWindow* sub = showOnce(
            m_view3D, [&] { return new app::results::TDlgBlock(currentModel(), m_document->Plots()); }, true);
        if (!sub) return;
        // Closing the view hides its menu and buttons again.
        connect(sub, &QObject::destroyed, this,
                [this] { QTimer::singleShot(0, this, &TMainForm::RefreshCommands); });
        // The first GL widget makes the frame recreate its native window, which drops the child's
        // state: maximize it again once that has happened.
        QTimer::singleShot(0, sub, &QWidget::showMaximized);
    });
}

void TMainForm::SideViewClick() {
    guarded([&] { showOnce(m_sideView, [&] { return new app::results::TDlgSideView(currentModel()); }); });
}

void TMainForm::SectionDrawingClick() {
    guarded([&] {
        if (QMdiSubWindow* sub = showOnce(m_sectionDrawing, [this] {
                return new app::results::TSectionWindow([this] {
                    const app::model::TProgramData& model = m_document->Model();
                    return app::results::SectionDrawingOf(
                        model, app::model::CaseInputsOfFile(model, model.FileName));
                });
            })) {
            // As large as it reads well, within the frame's area.
            const QSize room = m_mdi->viewport()->size();
            sub->resize(std::min(900, room.width()), std::min(720, room.height()));
            sub->move(0, 0);
        }
    });
}

void TMainForm::ExportReportClick() {
    guarded([&] {
        app::model::TProgramData& model = m_document->Model();
        // The report describes the data file as saved and the run beside it.
        if (m_document->IsChanged()) {
            showInformation(
                tr("Save the problem first: the calculation report describes the data file as saved "
                   "and its run."));
            return;
        }
        const bool stale = m_document->ResultsAvailable() && m_document->ResultsOutOfDate();
        if (stale &&
            !m_options.Dialogs->YesNo(this, tr("The results are older than the data file. Export a report of "
                                               "the inputs only (run the analysis for its results)?")))
            return;
        const QFileInfo info(QString::fromStdString(model.FileName));
        const QString initial =
            info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".pdf");
        const std::optional<TReportChoice> choice = m_options.Dialogs->ReportChoice(this, initial);
        if (!choice) return;
        app::report::TReportInput input =
            app::report::ReportInputFor(model, m_document->Plots(), model.FileName);
        if (stale || !m_document->ResultsAvailable()) {
            input.ReportText.clear();
            input.Status = {};
        }
        const QString failed =
            app::report::WriteReport(app::report::BuildReport(input, choice->Options), choice->File);
        if (!failed.isEmpty()) {
            showInformation(tr("The report was not written: %1").arg(failed));
            return;
        }
        statusBar()->showMessage(tr("Calculation report written to %1").arg(choice->File), 10000);
        if (m_options.Dialogs->YesNo(
                this, tr("The calculation report is written to %1. Open it now?").arg(choice->File)))
            m_options.Dialogs->OpenDocument(this, choice->File);
    });
}

void TMainForm::ExportClick() {
    guarded([&] {
        // A graph is offered when its menu item is enabled.
        const app::model::TCommandRules rules = m_document->Rules(false);
        const TCommand commands[] = {TCommand::GraphPY,
                                     TCommand::GraphDeflection,
                                     TCommand::GraphShear,
                                     TCommand::GraphMoment,
                                     TCommand::GraphReaction,
                                     TCommand::GraphPressure,
                                     TCommand::GraphPressureCombined};
        std::array<bool, 7> offered{};
        for (std::size_t i = 0; i < offered.size(); ++i)
            offered[i] = rules.Enabled(commands[i]);
        app::results::TDlgExport dialog(m_document->Plots(), offered, this);
        dialog.Summary = [this] { return m_document->ResultsSummary(); };
        if (m_exportSetup) m_exportSetup(dialog);
        dialog.exec();
    });
}

void TMainForm::updatePlotMenu() {
    // The active graph window's "&Plot" menu stands in the frame's menu bar, before the Window menu.
    QMdiSubWindow* current = m_mdi->currentSubWindow();
    auto* form = current ? qobject_cast<app::results::TPlotForm*>(current->widget()) : nullptr;
    QMenu* wanted = form ? form->PlotMenu() : nullptr;
    if (m_plotMenu == wanted) return;
    if (m_plotMenu) menuBar()->removeAction(m_plotMenu->menuAction());
    m_plotMenu = wanted;
    if (wanted) menuBar()->insertMenu(m_windowMenu->menuAction(), wanted);
}

void TMainForm::subWindowActivated(QMdiSubWindow* window) {
    updatePlotMenu();
    // Edits in a table editor reach no command: the results' notices follow on leaving it.
    refreshResultNotices();
    // A box or a menu takes the focus for a moment: no child has been left.
    if (!window || m_switchingChild || window == m_activeChild) return;
    if (QMdiSubWindow* previous = m_activeChild) {
        if (auto* child = dynamic_cast<widgets::TChildWindow*>(previous->widget())) {
            try {
                child->CommitEdit();
            } catch (const widgets::ECommitRefused&) {
                // The window that holds an invalid entry comes back.
                m_switchingChild = true;
                m_mdi->setActiveSubWindow(previous);
                m_switchingChild = false;
                return;
            } catch (const std::exception& e) {
                showInformation(QString::fromStdString(e.what()));
            }
        }
    }
    m_activeChild = window;
    // A graph window keeps Ctrl+Z for its Plot menu; everywhere else it undoes.
    const bool graph = window && qobject_cast<app::results::TPlotForm*>(window->widget());
    if (m_undoAction) m_undoAction->setShortcut(graph ? QKeySequence() : QKeySequence(tr("Ctrl+Z")));
    if (auto* child = dynamic_cast<widgets::TChildWindow*>(window->widget())) child->Reload();
    RefreshCommands();
}

void TMainForm::reloadChildren() {
    for (QMdiSubWindow* window : m_mdi->subWindowList())
        if (auto* child = dynamic_cast<widgets::TChildWindow*>(window->widget())) child->Reload();
}

session::TDocumentPorts TMainForm::makePorts() {
    session::TDocumentPorts ports;
    ports.ShowMessage = [this](const std::string& message) {
        showInformation(QString::fromStdString(message));
    };
    ports.AskYesNoCancel = [this](const std::string& question) {
        return m_options.Dialogs->YesNoCancel(this, QString::fromStdString(question));
    };
    ports.Confirm = [this](const std::string& question) {
        return m_options.Dialogs->YesNo(this, QString::fromStdString(question));
    };
    ports.ChooseOpenFile = [this] { return m_options.Dialogs->OpenFile(this); };
    ports.CanWriteIn = [this](const std::string& folder) {
        return m_options.Dialogs->CanWriteIn(QString::fromStdString(folder));
    };
    ports.ChooseSaveFile = [this](const std::string& initial, const std::string& title) {
        return m_options.Dialogs->SaveFile(this, QString::fromStdString(initial),
                                           QString::fromStdString(title));
    };
    ports.SetStatus = [this](const std::string& text) {
        if (m_status) m_status->setText(QString::fromStdString(text));
    };
    ports.Refresh = [this] {
        // A new problem, a stage or other units: open windows show the values of the model as it is now.
        if (m_mdi) reloadChildren();
        RefreshCommands();
    };
    ports.CloseChildren = [this] {
        if (m_mdi) m_mdi->closeAllSubWindows();
    };
    ports.ShowRunWarning = [this](const std::string& message) {
        if (m_options.Dialogs->RunWarning(this, QString::fromStdString(message)))
            m_document->EditTextFile(app::model::kReportExtension, m_wordProcessor);
    };
    ports.OpenDocument = [this](const std::string& path) {
        m_options.Dialogs->OpenDocument(this, QString::fromStdString(path));
    };
    ports.ShowTextFile = [this](const std::string& path) {
        auto* viewer = new TTextViewer(this);
        QString error;
        if (!viewer->Load(QString::fromStdString(path), &error)) {
            delete viewer;
            showInformation(error);
            return;
        }
        viewer->show();
        // A report opened because of a warning shows that warning first.
        viewer->GoToFirstWarning();
    };
    ports.SetBusy = [this](bool busy) {
        if (busy == m_busy) return;
        m_busy = busy;
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    return ports;
}

template <typename F>
void TMainForm::guarded(F&& command) {
    try {
        // What the active child holds goes into the problem first; an invalid entry stops the command.
        commitActiveChild();
        command();
    } catch (const widgets::ECommitRefused&) {
    } catch (const std::exception& e) {
        showInformation(QString::fromStdString(e.what()));
    }
    RefreshCommands();
}

void TMainForm::showInformation(const QString& text) {
    m_options.Dialogs->Information(this, text);
}

void TMainForm::commitActiveChild() {
    QMdiSubWindow* active = m_mdi->activeSubWindow();
    if (!active) return;
    if (auto* child = dynamic_cast<widgets::TChildWindow*>(active->widget())) child->CommitEdit();
}

QAction* TMainForm::CommandAction(TCommand command) const {
    return m_commands[static_cast<std::size_t>(command)];
}

QString TMainForm::StatusText() const {
    return m_status->text();
}

QAction* TMainForm::addCommand(QMenu* menu, TCommand command, const QString& text) {
    auto* action = new QAction(text, this);
    action->setObjectName(QStringLiteral("Command%1").arg(static_cast<int>(command)));
    m_commands[static_cast<std::size_t>(command)] = action;
    if (menu) menu->addAction(action);
    return action;
}

QAction* TMainForm::addAction(QMenu* menu, const QString& text, const char* name, void (TMainForm::*slot)()) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void TMainForm::createMenus() {
    auto onOpen = [this](QMenu* menu, auto&& before) {
        connect(menu, &QMenu::aboutToShow, this, [this, before] {
            try {
                commitActiveChild();
                before();
            } catch (const widgets::ECommitRefused&) {
            } catch (const std::exception& e) {
                showInformation(QString::fromStdString(e.what()));
            }
            RefreshCommands();
        });
    };
    auto nothing = [] {};
    auto dialog = [this](QAction* action, TDialogKind kind) {
        connect(action, &QAction::triggered, this, [this, kind] { openDialog(kind); });
    };
    using app::model::TProblemTables;
    auto editor = [this](QAction* action, app::model::TGridTable TProblemTables::*table) {
        connect(action, &QAction::triggered, this, [this, table] { openTable(m_document->Tables().*table); });
    };
    auto chartEditor = [this](QAction* action, app::model::TGridTableChart TProblemTables::*table) {
        connect(action, &QAction::triggered, this, [this, table] { openTable(m_document->Tables().*table); });
    };

    // File
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    addAction(file, tr("&New"), "FileNew", &TMainForm::NewClick)->setShortcut(QKeySequence(tr("Ctrl+N")));
    addAction(file, tr("&Open..."), "FileOpen", &TMainForm::OpenClick)
        ->setShortcut(QKeySequence(tr("Ctrl+O")));
    addAction(file, tr("&Save"), "FileSave", &TMainForm::SaveClick)->setShortcut(QKeySequence(tr("Ctrl+S")));
    addAction(file, tr("Save &As..."), "FileSaveAs", &TMainForm::SaveAsClick);
    file->addSeparator();
    addAction(file, tr("Export Calculation &Report..."), "FileExportReport", &TMainForm::ExportReportClick);
    m_recentSeparator = file->addSeparator();
    for (int i = 0; i < app::model::TRecentFiles::kMaxEntries; ++i) {
        QAction* action = file->addAction(QString());
        action->setObjectName(QStringLiteral("Recent%1").arg(i + 1));
        connect(action, &QAction::triggered, this, [this, i] { RecentClick(i); });
        m_recentActions[static_cast<std::size_t>(i)] = action;
    }
    file->addSeparator();
    QAction* exitAction = file->addAction(tr("E&xit"));
    exitAction->setObjectName(QStringLiteral("FileExit"));
    exitAction->setShortcut(QKeySequence(tr("Ctrl+Q")));
    connect(exitAction, &QAction::triggered, this, &QWidget::close);
    onOpen(file, [this] { refreshFileMenu(); });

    // Edit: back and forth through the changes to the problem.
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    m_undoAction = addAction(edit, tr("&Undo"), "EditUndo", &TMainForm::UndoClick);
    m_redoAction = addAction(edit, tr("&Redo"), "EditRedo", &TMainForm::RedoClick);
    m_undoAction->setShortcut(QKeySequence(tr("Ctrl+Z")));
    m_redoAction->setShortcut(QKeySequence(tr("Ctrl+Y")));
    onOpen(edit, nothing);

    // View: drawings of the problem as entered.
    QMenu* viewMenu = menuBar()->addMenu(tr("&View"));
    viewMenu->setObjectName(QStringLiteral("ViewMenu"));
    addAction(viewMenu, tr("&Section Drawing"), "ViewSectionDrawing", &TMainForm::SectionDrawingClick);
    onOpen(viewMenu, nothing);

    // Data: the windows that edit the problem.
    QMenu* dataMenu = menuBar()->addMenu(tr("Da&ta"));
    dataMenu->setObjectName(QStringLiteral("DataMenu"));
    dialog(addCommand(dataMenu, TCommand::Title, tr("&Title")), TDialogKind::Title);
    dialog(addCommand(dataMenu, TCommand::WallProperties, tr("Wall &Properties")),
           TDialogKind::WallProperties);
    dialog(addCommand(dataMenu, TCommand::WallConfiguration, tr("&Wall Configuration")),
           TDialogKind::WallConfiguration);
    editor(addCommand(dataMenu, TCommand::SoilLayers, tr("&Soil Layer Data")), &TProblemTables::NewSoil);
    m_soilMenu = dataMenu->addMenu(tr("&Soil Layer Data"));
    m_soilMenu->setObjectName(QStringLiteral("SoilLayersMenu"));
    editor(addCommand(m_soilMenu, TCommand::SoilLayersShort, tr("&Short-Term")), &TProblemTables::NewSoil);
    editor(addCommand(m_soilMenu, TCommand::SoilLayersLong, tr("&Long-Term")), &TProblemTables::LongSoil);
    editor(addCommand(dataMenu, TCommand::DistributedPressure, tr("&Distributed Active Earth Pressure")),
           &TProblemTables::DistLoad);
    m_distributedMenu = dataMenu->addMenu(tr("&Distributed Active Earth Pressure"));
    m_distributedMenu->setObjectName(QStringLiteral("DistributedMenu"));
    editor(addCommand(m_distributedMenu, TCommand::DistributedShort, tr("&Short-Term")),
           &TProblemTables::DistLoad);
    editor(addCommand(m_distributedMenu, TCommand::DistributedLong, tr("&Long-Term")),
           &TProblemTables::LongDist);
    dialog(addCommand(dataMenu, TCommand::Surcharge, tr("&Additional Surcharge Loads")),
           TDialogKind::Surcharge);
    dialog(addCommand(dataMenu, TCommand::ConcentratedLoads, tr("&Concentrated Loads on the Wall")),
           TDialogKind::ConcentratedLoads);
    dialog(addCommand(dataMenu, TCommand::Tiebacks, tr("Tieback (&Ground Anchor) Data")),
           TDialogKind::Tiebacks);
    editor(addCommand(dataMenu, TCommand::Restraints, tr("&Boundary Condition on Deflection or Slope")),
           &TProblemTables::Soillayer);
    editor(addCommand(dataMenu, TCommand::PYModification, tr("Modification &Factors for p-y Curves")),
           &TProblemTables::PYMod);
    chartEditor(addCommand(dataMenu, TCommand::ExternalPY, tr("Sets of &External p-y Curves")),
                &TProblemTables::PYCurves2);
    dialog(addCommand(dataMenu, TCommand::Springs, tr("&Lateral Springs and Rotational Restraints")),
           TDialogKind::Springs);
    chartEditor(addCommand(dataMenu, TCommand::MomentEI, tr("Sets of Nonlinear &Moment vs EI Curves")),
                &TProblemTables::MEICurves2);
    onOpen(dataMenu, nothing);

    // Options
    QMenu* options = menuBar()->addMenu(tr("&Options"));
    options->setObjectName(QStringLiteral("OptionsMenu"));
    QMenu* units = options->addMenu(tr("&Units"));
    units->setObjectName(QStringLiteral("UnitsMenu"));
    auto* unitGroup = new QActionGroup(this);
    const std::pair<TCommand, QString> unitItems[] = {
        {TCommand::UnitsEnglish, tr("&English Units (lbs, in)")},
        {TCommand::UnitsSI, tr("&SI Units (kN, m)")},
        {TCommand::UnitsOther, tr("&Other Units (F, L)")}};
    for (int n = 1; n <= 3; ++n) {
        QAction* action = addCommand(units, unitItems[n - 1].first, unitItems[n - 1].second);
        action->setCheckable(true);
        unitGroup->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, n] { guarded([&] { m_document->SetUnitSystem(n); }); });
    }
    onOpen(units, nothing);
    QMenu* pressure = options->addMenu(tr("Ear&th-Pressure Options"));
    pressure->setObjectName(QStringLiteral("EarthPressureMenu"));
    auto* pressureGroup = new QActionGroup(this);
    const std::pair<TCommand, QString> pressureItems[] = {
        {TCommand::EarthPressureUser, tr("Earth-Pressure Specified by &User")},
        {TCommand::EarthPressureTriangular, tr("Generate &Triangular-Distribution Earth-Pressure")},
        {TCommand::EarthPressureTrapezoidal,
         tr("Generate Tr&apezoidal-Distribution Pressure (Anchored Walls)")}};
    for (int n = 1; n <= 3; ++n) {
        QAction* action = addCommand(pressure, pressureItems[n - 1].first, pressureItems[n - 1].second);
        action->setCheckable(true);
        pressureGroup->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, n] { guarded([&] { m_document->SetEarthPressureChoice(n); }); });
    }
    onOpen(pressure, [this] { m_document->Model().NormaliseEarthPressureChoice(); });

    using Toggle = void (app::model::TProgramData::*)();
    const std::tuple<TCommand, QString, Toggle> toggles[] = {
        {TCommand::GeneratePY, tr("Generate &p-y Curves"), &app::model::TProgramData::ToggleGeneratePY},
        {TCommand::ApplyConcentratedLoads, tr("Apply &Concentrated Loads"),
         &app::model::TProgramData::ToggleConcentratedLoads},
        {TCommand::ApplyTiebacks, tr("Apply Tieback (&Ground  Anchor)"),
         &app::model::TProgramData::ToggleTiebacks},
        {TCommand::ApplyRestraints, tr("Apply &Restraints on Deflection or Slope"),
         &app::model::TProgramData::ToggleRestraints},
        {TCommand::ApplyExternalPY, tr("Apply User Specified p-y Curves (&External)"),
         &app::model::TProgramData::ToggleExternalPY},
        {TCommand::ApplySprings, tr("Apply &Lateral Springs and Rotation Restraints"),
         &app::model::TProgramData::ToggleSprings},
        {TCommand::ApplyPYModification, tr("Apply External p-y &Modification Factors"),
         &app::model::TProgramData::TogglePYModification},
        {TCommand::ApplySurcharge, tr("Apply A&dditional Surcharge Loads"),
         &app::model::TProgramData::ToggleSurcharge},
        {TCommand::ApplyMomentEI, tr("Apply &Nonlinear Moment vs EI Curves"),
         &app::model::TProgramData::ToggleMomentEI},
    };
    for (const auto& [command, text, toggle] : toggles) {
        QAction* action = addCommand(options, command, text);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, toggle = toggle] {
            guarded([&] {
                (m_document->Model().*toggle)();
                m_document->OptionChanged();
            });
        });
    }
    QAction* longTerm =
        addCommand(options, TCommand::LongTerm, tr("Conduct Short-Term and Long-Term &Analyses"));
    longTerm->setCheckable(true);
    connect(longTerm, &QAction::triggered, this, [this] { guarded([&] { m_document->ToggleLongTerm(); }); });
    QAction* staged = addCommand(options, TCommand::Staged, tr("Conduct &Staged-Construction Analysis..."));
    staged->setCheckable(true);
    connect(staged, &QAction::triggered, this, [this] { openStagedDialog(true); });
    QAction* editorOption = options->addAction(tr("&Option of Text Editor..."));
    editorOption->setObjectName(QStringLiteral("OptionTextEditor"));
    dialog(editorOption, TDialogKind::ControlOptions);
    onOpen(options, [this] { m_document->Model().DeriveUserEarthPressure(); });

    // Stage Construction: there only while the problem is staged.
    m_stageMenu = menuBar()->addMenu(tr("&Stage Construction"));
    m_stageMenu->setObjectName(QStringLiteral("StageMenu"));
    for (int n = 1; n <= app::model::kMaxStages; ++n) {
        QAction* action =
            addCommand(m_stageMenu, app::model::TCommandRules::StageCommand(n), tr("Stage &%1").arg(n));
        action->setCheckable(true);
        action->setToolTip(tr("Stage Const. %1").arg(n));
        action->setIcon(glyphIcon(QString::number(n), QColor(200, 150, 60)));
        connect(action, &QAction::triggered, this,
                [this, n] { guarded([&] { m_document->SwitchStage(n); }); });
    }
    m_stageMenu->addSeparator();
    connect(addCommand(m_stageMenu, TCommand::UpdateCurrentStage, tr("Update &Current Stage")),
            &QAction::triggered, this, [this] { guarded([&] { m_document->UpdateCurrentStage(); }); });
    connect(addCommand(m_stageMenu, TCommand::CopyPreviousStage, tr("Copy &Previous Stage")),
            &QAction::triggered, this, [this] { guarded([&] { m_document->CopyPreviousStage(); }); });
    onOpen(m_stageMenu, nothing);

    // Computation
    QMenu* computation = menuBar()->addMenu(tr("&Computation"));
    computation->setObjectName(QStringLiteral("ComputationMenu"));
    QAction* run = addCommand(computation, TCommand::RunAnalysis, tr("&Run Analysis"));
    connect(run, &QAction::triggered, this, &TMainForm::RunAnalysisClick);
    const std::pair<TCommand, const char*> textFiles[] = {
        {TCommand::EditInputText, nullptr},
        {TCommand::EditRunNotes, app::model::kRunNotesExtension},
        {TCommand::EditOutputText, app::model::kReportExtension}};
    const QString textCaptions[] = {tr("Edit I&nput Text"), tr("Edit &Processor-Run Notes"),
                                    tr("Edit &Output Text")};
    for (int i = 0; i < 3; ++i) {
        const char* extension = textFiles[i].second;
        connect(
            addCommand(computation, textFiles[i].first, textCaptions[i]), &QAction::triggered, this,
            [this, extension] { guarded([&] { m_document->EditTextFile(extension, m_wordProcessor); }); });
    }
    connect(addCommand(computation, TCommand::ViewWallGeometry, tr("&View Wall Geometry")),
            &QAction::triggered, this, &TMainForm::SideViewClick);
    connect(addCommand(computation, TCommand::View3D, tr("&3D View")), &QAction::triggered, this,
            &TMainForm::View3DClick);
    onOpen(computation, nothing);

    // Graphics
    QMenu* graphics = menuBar()->addMenu(tr("&Graphics"));
    graphics->setObjectName(QStringLiteral("GraphicsMenu"));
    using app::model::PlotDefinitions;
    const std::tuple<TCommand, QString, app::model::TGraphPlot PlotDefinitions::*> graphs[] = {
        {TCommand::GraphPY, tr("p-&y Curves"), &PlotDefinitions::pltPY},
        {TCommand::GraphDeflection, tr("&Deflection vs Depth"), &PlotDefinitions::pltDef},
        {TCommand::GraphMoment, tr("&Moment vs Depth"), &PlotDefinitions::pltMom},
        {TCommand::GraphShear, tr("&Shear vs Depth"), &PlotDefinitions::pltShear},
        {TCommand::GraphReaction, tr("&Reaction vs Depth"), &PlotDefinitions::pltSoil},
        {TCommand::GraphDMS, tr("Deflection, Moment &and Shear"), &PlotDefinitions::pltDMS},
        {TCommand::GraphPressure, tr("Earth &Pressure Distribution"), &PlotDefinitions::pltLD},
        {TCommand::GraphPressureCombined, tr("Earth Pressure &Combined"), &PlotDefinitions::PltCombine},
        {TCommand::GraphMobilised, tr("M&obilised Resistance vs Depth"), &PlotDefinitions::pltMobil},
    };
    for (const auto& [command, text, plot] : graphs) {
        connect(addCommand(graphics, command, text), &QAction::triggered, this,
                [this, plot = plot] { OpenPlot(m_document->Plots().*plot); });
    }
    graphics->addSeparator();
    connect(addCommand(graphics, TCommand::ResultsSummary, tr("Results S&ummary")), &QAction::triggered, this,
            &TMainForm::OpenSummary);
    connect(addCommand(graphics, TCommand::NodeTables, tr("&Node Tables")), &QAction::triggered, this,
            &TMainForm::OpenNodeTables);
    graphics->addSeparator();
    connect(addCommand(graphics, TCommand::ExportPlots, tr("&Export Plots To Excel")), &QAction::triggered,
            this, &TMainForm::ExportClick);
    onOpen(graphics, nothing);

    // Design: embedment and sections beside the analysis.
    QMenu* design = menuBar()->addMenu(tr("&Design"));
    design->setObjectName(QStringLiteral("DesignMenu"));
    const std::pair<QString, TDesignWindow::TPage> designPages[] = {
        {tr("&Limit Equilibrium..."), TDesignWindow::LimitEquilibrium},
        {tr("&Embedment Sweep..."), TDesignWindow::EmbedmentSweep},
        {tr("&Sections..."), TDesignWindow::Sections}};
    for (const auto& [caption, page] : designPages) {
        QAction* action = design->addAction(caption);
        action->setObjectName(QStringLiteral("Design%1").arg(static_cast<int>(page)));
        connect(action, &QAction::triggered, this, [this, page = page] { OpenDesign(page); });
    }
    onOpen(design, nothing);

    // Show 3DView: there only while the 3D view is open.
    m_show3DMenu = menuBar()->addMenu(tr("Show &3DView"));
    m_show3DMenu->setObjectName(QStringLiteral("Show3DMenu"));
    app::results::FillShowMenu(
        *m_show3DMenu, [this] { return view3D(); },
        [this](const std::function<void()>& command) { guarded(command); });
    m_show3DMenu->addAction(addCommand(nullptr, TCommand::DeformedShape, tr("&Deformed Shape")));
    connect(CommandAction(TCommand::DeformedShape), &QAction::triggered, this, [this] {
        guarded([&] {
            if (auto* view = view3D()) view->DeformedShapeWindow();
        });
    });
    onOpen(m_show3DMenu, nothing);

    // Window
    m_windowMenu = menuBar()->addMenu(tr("&Window"));
    m_windowMenu->setObjectName(QStringLiteral("WindowMenu"));
    QAction* cascade = m_windowMenu->addAction(tr("&Cascade"));
    cascade->setObjectName(QStringLiteral("WindowCascade"));
    connect(cascade, &QAction::triggered, m_mdi, &QMdiArea::cascadeSubWindows);
    addAction(m_windowMenu, tr("&Arrange Icons"), "WindowArrangeIcons", &TMainForm::ArrangeIconsClick);
    m_windowMenu->addSeparator();
    for (int i = 0; i < kWindowListSize; ++i) {
        QAction* action = m_windowMenu->addAction(QString());
        action->setCheckable(true);
        action->setVisible(false);
        connect(action, &QAction::triggered, this, [this, i] {
            const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
            if (i < windows.size()) m_mdi->setActiveSubWindow(windows[i]);
        });
        m_windowActions[static_cast<std::size_t>(i)] = action;
    }
    onOpen(m_windowMenu, [this] { refreshWindowMenu(); });

    // Help
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    const std::tuple<QString, const char*, const char*> helpFiles[] = {
        {tr("&Contents"), "HelpContents", kContentsFile},
        {tr("&User's Manual"), "HelpUsersManual", kUsersManualFile},
        {tr("&Technical Manual"), "HelpTechnicalManual", kTechnicalManualFile}};
    for (const auto& [text, name, fileName] : helpFiles) {
        QAction* action = help->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, fileName = fileName] { openHelpFile(fileName); });
    }
    help->addSeparator();
    addAction(help, tr("&About..."), "HelpAbout", &TMainForm::AboutClick);
    addAction(help, tr("Check for U&pdates"), "HelpUpdates", &TMainForm::CheckUpdatesClick);
}

void TMainForm::createToolBar() {
    m_toolBar = addToolBar(tr("Tools"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    m_toolBar->setIconSize(QSize(24, 24));
    auto shared = [this](QAction* action, const QString& hint, const QIcon& icon) {
        action->setToolTip(hint);
        action->setIcon(icon);
        m_toolBar->addAction(action);
    };
    auto own = [this](TCommand command, const QString& hint, const QIcon& icon) {
        QAction* action = addCommand(nullptr, command, hint);
        action->setToolTip(hint);
        action->setIcon(icon);
        m_toolBar->addAction(action);
        return action;
    };
    QStyle* s = style();
    shared(findChild<QAction*>(QStringLiteral("FileNew")), tr("New Data File"),
           s->standardIcon(QStyle::SP_FileIcon));
    shared(findChild<QAction*>(QStringLiteral("FileOpen")), tr("Open Data File"),
           s->standardIcon(QStyle::SP_DialogOpenButton));
    shared(findChild<QAction*>(QStringLiteral("FileSave")), tr("Save Data File"),
           s->standardIcon(QStyle::SP_DialogSaveButton));
    m_toolBar->addSeparator();
    const QColor dataColour(90, 140, 200);
    shared(CommandAction(TCommand::Title), tr("Title"), glyphIcon(QStringLiteral("T"), dataColour));
    shared(CommandAction(TCommand::WallProperties), tr("Wall Properties"),
           glyphIcon(QStringLiteral("EI"), dataColour));
    shared(CommandAction(TCommand::WallConfiguration), tr("Wall Configuration"),
           glyphIcon(QStringLiteral("H"), dataColour));
    QAction* soil = own(TCommand::SoilLayersButton, tr("Soil Layers"),
                        glyphIcon(QStringLiteral("≡"), QColor(170, 120, 70)));
    connect(soil, &QAction::triggered, this, [this] { openTable(m_document->Tables().NewSoil); });
    m_toolBar->addSeparator();
    shared(CommandAction(TCommand::RunAnalysis), tr("Run Analysis"),
           glyphIcon(QStringLiteral("▶"), QColor(60, 170, 70)));
    QAction* stagedButton = own(TCommand::StagedButton, tr("Stage Construction Option"),
                                glyphIcon(QStringLiteral("St"), QColor(200, 150, 60)));
    connect(stagedButton, &QAction::triggered, this, [this] { openStagedDialog(false); });
    QAction* output = own(TCommand::ViewOutputButton, tr("View Output File"),
                          glyphIcon(QStringLiteral("txt"), QColor(120, 120, 120)));
    connect(output, &QAction::triggered, this, [this] {
        guarded([&] { m_document->EditTextFile(app::model::kReportExtension, m_wordProcessor); });
    });
    shared(CommandAction(TCommand::ViewWallGeometry), tr("View Soil Profile"),
           glyphIcon(QStringLiteral("SV"), QColor(170, 120, 70)));
    shared(CommandAction(TCommand::View3D), tr("3D View"),
           glyphIcon(QStringLiteral("3D"), QColor(120, 90, 180)));
    m_toolBar->addSeparator();
    const QColor result(200, 80, 80);
    shared(CommandAction(TCommand::GraphPY), tr("View p-y Curves"), glyphIcon(QStringLiteral("py"), result));
    shared(CommandAction(TCommand::GraphDeflection), tr("Deflection Diagram"),
           glyphIcon(QStringLiteral("y"), result));
    shared(CommandAction(TCommand::GraphMoment), tr("Moment Diagram"),
           glyphIcon(QStringLiteral("M"), result));
    shared(CommandAction(TCommand::GraphShear), tr("Shear Diagram"), glyphIcon(QStringLiteral("V"), result));
    shared(CommandAction(TCommand::ResultsSummary), tr("Results Summary"),
           glyphIcon(QStringLiteral("Sum"), result));
    shared(CommandAction(TCommand::GraphReaction), tr("Soil-Reaction Diagram"),
           glyphIcon(QStringLiteral("p"), result));
    shared(CommandAction(TCommand::GraphDMS), tr("Soil-Reaction Diagram"),
           glyphIcon(QStringLiteral("yMV"), result));
    shared(CommandAction(TCommand::GraphPressure), tr("Pressure Diagram"),
           glyphIcon(QStringLiteral("σ"), result));
    m_toolBar->addSeparator();
    for (int n = 1; n <= app::model::kMaxStages; ++n)
        m_toolBar->addAction(CommandAction(app::model::TCommandRules::StageCommand(n)));

    // The 3D view's buttons: shown while the view is open.
    const QColor view(120, 90, 180);
    auto* modes = new QActionGroup(this);
    using app::results::TMouseMode;
    const std::tuple<QString, QString, TMouseMode> modeButtons[] = {
        {tr("Panning"), QStringLiteral("✥"), TMouseMode::Panning},
        {tr("Zoom Window"), QStringLiteral("▭"), TMouseMode::ZoomWindow},
        {tr("Zooming"), QStringLiteral("Z"), TMouseMode::Zooming},
        {tr("Rotating"), QStringLiteral("↻"), TMouseMode::Rotating}};
    for (const auto& [hint, glyph, mode] : modeButtons) {
        QAction* action = m_toolBar->addAction(glyphIcon(glyph, view), hint);
        action->setToolTip(hint);
        action->setCheckable(true);
        action->setObjectName(QStringLiteral("View3D") + hint.simplified().remove(QLatin1Char(' ')));
        modes->addAction(action);
        // Only "Zoom Window" turns the zoom-window flag on.
        connect(action, &QAction::triggered, this, [this, mode = mode] {
            if (auto* v = view3D(); v && v->Gl()) v->Gl()->SetMouseMode(mode, mode == TMouseMode::ZoomWindow);
        });
        m_view3DButtons << action;
    }
    const std::tuple<QString, QString, double> zoomButtons[] = {
        {tr("Zoom In"), QStringLiteral("+"), 1.4142},
        {tr("Zoom Out"), QStringLiteral("−"), 0.7071135624381275633}};
    for (const auto& [hint, glyph, factor] : zoomButtons) {
        QAction* action = m_toolBar->addAction(glyphIcon(glyph, view), hint);
        action->setToolTip(hint);
        action->setObjectName(QStringLiteral("View3D") + hint.simplified().remove(QLatin1Char(' ')));
        connect(action, &QAction::triggered, this, [this, factor = factor] {
            if (auto* v = view3D(); v && v->Gl()) v->Gl()->Zooming(factor);
        });
        m_view3DButtons << action;
    }
    QAction* restart = m_toolBar->addAction(glyphIcon(QStringLiteral("⟲"), view), tr("Restart View"));
    restart->setToolTip(tr("Restart View"));
    restart->setObjectName(QStringLiteral("View3DRestartView"));
    connect(restart, &QAction::triggered, this, [this] {
        if (auto* v = view3D(); v && v->Gl()) v->Gl()->RestartView();
    });
    m_view3DButtons << restart;
    QAction* deformed = CommandAction(TCommand::DeformedShape);
    deformed->setToolTip(tr("Deformed Shape"));
    deformed->setIcon(glyphIcon(QStringLiteral("δ"), view));
    m_toolBar->addAction(deformed);
}

void TMainForm::refreshResultNotices() {
    if (!m_document || !m_mdi) return;
    try {
        if (!m_document->PublishResultsState()) return;
        for (QMdiSubWindow* window : m_mdi->subWindowList()) {
            if (auto* block = qobject_cast<app::results::TDlgBlock*>(window->widget()))
                block->RefreshNotice();
            else if (window->widget())
                window->widget()->update();
        }
    } catch (const std::exception& e) {
        showInformation(QString::fromStdString(e.what()));
    }
}

void TMainForm::RefreshCommands() {
    if (!m_document || !m_status) return;
    // After every command: what it changed becomes one step of the history.
    m_document->CheckPoint();
    if (m_undoAction) m_undoAction->setEnabled(m_document->CanUndo());
    if (m_redoAction) m_redoAction->setEnabled(m_document->CanRedo());
    refreshResultNotices();
    const app::model::TCommandRules rules = m_document->Rules(view3D() != nullptr);
    for (std::size_t i = 0; i < app::model::kCommandCount; ++i) {
        QAction* action = m_commands[i];
        if (!action) continue;
        const app::model::TCommandState& state = rules[static_cast<TCommand>(i)];
        action->setEnabled(state.Enabled);
        action->setVisible(state.Visible);
        if (action->isCheckable()) action->setChecked(state.Checked);
    }
    m_soilMenu->menuAction()->setVisible(rules.Visible(TCommand::SoilLayersShort));
    m_soilMenu->menuAction()->setEnabled(rules.Enabled(TCommand::SoilLayersShort));
    m_distributedMenu->menuAction()->setVisible(rules.Visible(TCommand::DistributedShort));
    m_distributedMenu->menuAction()->setEnabled(rules.Enabled(TCommand::DistributedShort));
    m_stageMenu->menuAction()->setVisible(rules.Visible(TCommand::StageMenu));
    m_show3DMenu->menuAction()->setVisible(rules.Visible(TCommand::Show3DMenu));
    for (QAction* button : std::as_const(m_view3DButtons))
        button->setVisible(rules.Visible(TCommand::Show3DMenu));
    setWindowTitle(QString::fromStdString(m_document->WindowTitle()));
}

void TMainForm::refreshFileMenu() {
    const auto& entries = m_document->RecentFiles().Entries();
    const std::string folder = QDir::currentPath().toStdString();
    for (int i = 0; i < app::model::TRecentFiles::kMaxEntries; ++i) {
        QAction* action = m_recentActions[static_cast<std::size_t>(i)];
        const bool used = i < static_cast<int>(entries.size());
        action->setVisible(used);
        if (!used) continue;
        // "&" before the number's last digit makes it the mnemonic; the path's own "&" are doubled.
        QString caption = QString::fromStdString(m_document->RecentFiles().Caption(i, folder));
        const int blank = static_cast<int>(caption.indexOf(QLatin1Char(' ')));
        QString number = caption.left(blank);
        number.insert(number.size() - 1, QLatin1Char('&'));
        action->setText(number + caption.mid(blank).replace(QLatin1Char('&'), QStringLiteral("&&")));
    }
    m_recentSeparator->setVisible(!entries.empty());
}

void TMainForm::refreshWindowMenu() {
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    for (int i = 0; i < kWindowListSize; ++i) {
        QAction* action = m_windowActions[static_cast<std::size_t>(i)];
        const bool used = i < windows.size();
        action->setVisible(used);
        if (!used) continue;
        action->setText(tr("&%1 %2").arg(i + 1).arg(windows[i]->windowTitle()));
        action->setChecked(windows[i] == m_mdi->activeSubWindow());
    }
}

void TMainForm::ArrangeIconsClick() {
    // Minimised children line up along the bottom edge, left to right.
    const QRect area = m_mdi->viewport()->rect();
    int x = 0;
    int y = area.bottom();
    for (QMdiSubWindow* window : m_mdi->subWindowList()) {
        if (!window->isMinimized()) continue;
        const QSize size = window->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            y -= size.height();
        }
        window->move(x, y - size.height() + 1);
        x += size.width();
    }
}

void TMainForm::readSettings() {
    TSettingsValues values;
    // A store that cannot be read leaves no editor and no recent files.
    if (!m_settings.Read(values)) values = TSettingsValues{};
    m_values = values;
    m_wordProcessor = values.WordProcessor;
    m_document->RecentFiles().SetValues(values.Files);
}

void TMainForm::writeSettings() {
    m_settings.Write(m_wordProcessor, m_document->RecentFiles().Values());
}

void TMainForm::OpenFromCommandLine(const QString& argument) {
    if (argument.isEmpty()) return;
    guarded([&] { m_document->OpenFromCommandLine(QFile::encodeName(argument).toStdString()); });
}

void TMainForm::OpenFromCommandLineBytes(const std::string& argument) {
    guarded([&] { m_document->OpenFromCommandLine(argument); });
}

void TMainForm::NewClick() {
    guarded([&] {
        if (m_document->NewProblem()) m_mdi->closeAllSubWindows();
    });
}

void TMainForm::OpenClick() {
    guarded([&] {
        if (m_document->OpenProblem()) m_mdi->closeAllSubWindows();
    });
}

void TMainForm::SaveClick() {
    guarded([&] { m_document->SaveProblem(); });
}

void TMainForm::SaveAsClick() {
    guarded([&] { m_document->SaveProblemAs(); });
}

void TMainForm::RecentClick(int index) {
    const auto& entries = m_document->RecentFiles().Entries();
    if (index < 0 || index >= static_cast<int>(entries.size())) return;
    const std::string path = entries[static_cast<std::size_t>(index)];
    guarded([&] {
        if (m_document->OpenNamed(path)) m_mdi->closeAllSubWindows();
    });
}

void TMainForm::OpenDesign(TDesignWindow::TPage page) {
    guarded([&] {
        // The table windows open at a size that shows their columns, not at the frame's minimum.
        if (QMdiSubWindow* sub = showOnce(m_design, [this] { return new TDesignWindow(*m_document); }))
            sub->resize(1000, 640);
        if (m_design)
            if (auto* window = qobject_cast<TDesignWindow*>(m_design->widget())) window->ShowPage(page);
    });
}

void TMainForm::UndoClick() {
    guarded([&] {
        m_document->Undo();
        reloadChildren();
    });
}

void TMainForm::RedoClick() {
    guarded([&] {
        m_document->Redo();
        reloadChildren();
    });
}

void TMainForm::OpenSummary() {
    guarded([&] {
        if (m_summary) {
            if (auto* window = qobject_cast<app::results::TSummaryWindow*>(m_summary->widget()))
                window->Reload();
        }
        if (QMdiSubWindow* sub = showOnce(m_summary, [this] {
                return new app::results::TSummaryWindow([this] { return m_document->ResultsSummary(); });
            }))
            sub->resize(820, 560);
    });
}

void TMainForm::OpenNodeTables() {
    guarded([&] {
        QMdiSubWindow* sub = showOnce(m_nodeTables, [this] {
            app::results::TNodeTableSource source;
            source.Summary = [this] { return m_document->ResultsSummary(); };
            source.Rows = [this](int caseIndex) {
                const auto inputs = m_document->CaseInputs();
                if (inputs.empty()) return std::vector<app::model::TNodeRow>{};
                const auto& in = inputs[std::min(static_cast<std::size_t>(caseIndex), inputs.size() - 1)];
                return app::model::NodeTable(m_document->Model(), in, caseIndex);
            };
            return new app::results::TNodeTableWindow(std::move(source));
        });
        if (sub) sub->resize(960, 560);
    });
}

void TMainForm::RunAnalysisClick() {
    guarded([&] { m_document->RunAnalysis(); });
    // The numbers of every run at once, for a run that left results.
    if (m_document->ResultsAvailable() && !m_document->ResultsOutOfDate()) OpenSummary();
}

void TMainForm::openStagedDialog(bool modal) {
    if (modal) {
        TDlgStaged dialog(m_document->Model().StageCount, this);
        if (dialog.exec() == QDialog::Accepted)
            guarded([&] { m_document->ApplyStageCount(dialog.StageCount()); });
        RefreshCommands();
        return;
    }
    if (m_stagedDialog) {
        m_stagedDialog->show();
        m_stagedDialog->raise();
        m_stagedDialog->activateWindow();
        return;
    }
    auto* dialog = new TDlgStaged(m_document->Model().StageCount, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this,
            [this, dialog] { guarded([&] { m_document->ApplyStageCount(dialog->StageCount()); }); });
    connect(dialog, &QDialog::finished, dialog, &QWidget::close);
    m_stagedDialog = dialog;
    dialog->show();
}

void TMainForm::openHelpFile(const char* name) {
    const QString file = QString::fromUtf8(name);
    const QString path = QDir(m_options.ProgramFolder).filePath(file);
    if (!QFileInfo(path).isFile()) {
        showInformation(tr("The file \"%1\" is not in the program folder %2.")
                            .arg(file, QDir::toNativeSeparators(m_options.ProgramFolder)));
        return;
    }
    m_options.Dialogs->OpenDocument(this, path);
}

void TMainForm::AboutClick() {
    TDlgAbout about(m_values.SupportEmail, m_values.WebSite, this);
    about.exec();
}

void TMainForm::CheckUpdatesClick() {
    QString base = m_values.UpdateUrl.trimmed();
    if (base.isEmpty()) {
        showInformation(
            tr("No update address is configured. An administrator can set one as the value "
               "\"UpdateURL\" of the program's settings."));
        return;
    }
    if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
    const QUrl url(base + QString::fromLatin1(kUpdateQuery));
    if (!url.isValid() || url.isRelative()) {
        showInformation(tr("The update address \"%1\" is not a valid address.").arg(m_values.UpdateUrl));
        return;
    }
    if (!m_options.Dialogs->OpenUrl(url))
        showInformation(tr("No browser could be started for %1.").arg(url.toString()));
}

void TMainForm::closeEvent(QCloseEvent* event) {
    try {
        commitActiveChild();
        if (!m_document->ConfirmDiscard()) {
            event->ignore();
            return;
        }
    } catch (const widgets::ECommitRefused&) {
        event->ignore();
        return;
    } catch (const std::exception& e) {
        // Nothing is lost: the window stays open with the problem as it was.
        showInformation(QString::fromStdString(e.what()));
        event->ignore();
        RefreshCommands();
        return;
    }
    writeSettings();
    m_mdi->closeAllSubWindows();
    event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* mime = event->mimeData();
    if (mime->hasUrls() && !mime->urls().isEmpty() && mime->urls().constFirst().isLocalFile())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.constFirst().isLocalFile()) return;
    const std::string path = urls.constFirst().toLocalFile().toStdString();
    event->acceptProposedAction();
    // The source of the drag waits for the drop to return: questions come after it.
    QTimer::singleShot(0, this, [this, path] {
        guarded([&] {
            if (m_document->OpenNamed(path)) m_mdi->closeAllSubWindows();
        });
    });
}

}  // namespace app::ui
