#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "container/io_error.h"
#include "language/dictionary.h"
#include "language/dictionary_dump.h"
#include "language/discovery.h"
#include "project/names_table.h"
#include "text/word_compare.h"
#include "translate/project_session.h"
#include "translate/search.h"
#include "ui/busy_cursor.h"
#include "ui/caps_lock.h"
#include "ui/find_dialog.h"
#include "ui/frames_area.h"
#include "ui/qt_text.h"
#include "ui/section_frame.h"

namespace vlp::ui {
namespace {

const QString kProjectFilter = QStringLiteral("Vorlane Projekt VLP (*.vlp)");
const QString kTableFilter = QStringLiteral("Text file (*.txt)");
const QColor kCollision(255, 200, 200);

enum EditCommandId { kUndo, kCut, kCopy, kPaste, kDelete, kSelectAll };

// "short|long": the tool-tip shows the short text, the status bar the long one.
void SetHint(QAction* action, const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

QIcon CommandIcon(const QWidget* widget, const char* themeName, QStyle::StandardPixmap fallback) {
    QIcon icon = QIcon::fromTheme(QString::fromLatin1(themeName));
    return icon.isNull() ? widget->style()->standardIcon(fallback) : icon;
}

QFont GridFont() {
    QFont font = QFontDatabase::families().contains(QStringLiteral("Courier New"))
                     ? QFont(QStringLiteral("Courier New"))
                     : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    return font;
}

std::string ProgramDirOfExecutable() {
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return PathToCore(dir);
}

}  // namespace

template <typename F>
bool MainWindow::Guard(F&& command) {
    try {
        command();
        return true;
    } catch (const IoError& error) {
        prompts_->Error(FromCp1250(error.what()));
    } catch (const std::exception& error) {
        prompts_->Error(FromCp1250(error.what()));
    }
    return false;
}

MainWindow::MainWindow(MainWindowOptions options)
    : prompts_(options.prompts), arguments_(std::move(options.arguments)) {
    setObjectName(QStringLiteral("MainForm"));
    if (prompts_ == nullptr) {
        ownPrompts_ = std::make_unique<DialogPrompts>(this);
        prompts_ = ownPrompts_.get();
    }
    QFont windowFont = font();
    windowFont.setPointSize(8);
    setFont(windowFont);

    setWindowTitle(kTitle + QStringLiteral(" - [Untitled]"));
    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreatePages();
    CreateStatusBar();

    findDialog_ = new FindDialog(this);
    connect(findDialog_, &FindDialog::find, this, &MainWindow::SearchFind1FindDialogFind);

    ws_.language.programDir = options.programDir.empty() ? ProgramDirOfExecutable() : options.programDir;
    Guard([&] { DiscoverLanguages(ws_.language, ws_.buttons); });
    SyncLanguageButtons();
    openFolder_ = PathFromCore(ws_.language.programDir);
    ShowLanguageStatus(QStringLiteral("unknown language"));

    resize(747, 611);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - rect().center());
    }

    // The enabled states follow the focus, the selection and the clipboard; a short timer
    // catches what no signal reports (Caps Lock).
    updateTimer_ = new QTimer(this);
    updateTimer_->setInterval(250);
    connect(updateTimer_, &QTimer::timeout, this, &MainWindow::ActionListUpdate);
    updateTimer_->start();
    connect(qApp, &QApplication::focusChanged, this, &MainWindow::ActionListUpdate);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &MainWindow::ActionListUpdate);
    ActionListUpdate();
}

MainWindow::~MainWindow() {
    // Widgets going away change the focus and may emit signals: nothing may reach this
    // half-destroyed window any more.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
    disconnect(grid_, nullptr, this, nullptr);
    disconnect(tabs_, nullptr, this, nullptr);
    updateTimer_->stop();
    // The frames go before the dialog that may still hold their editors.
    if (ambiguityDialog_ != nullptr) ambiguityDialog_->Reset();
}

QAction* MainWindow::MakeAction(const char* name, const QString& caption, const QString& hint,
                                const QKeySequence& shortcut, void (MainWindow::*handler)()) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty()) SetHint(action, hint);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    if (handler != nullptr)
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return action;
}

void MainWindow::CreateActions() {
    acOpen_ = MakeAction("acOpen", QStringLiteral("&Open..."), QStringLiteral("Open|Open an existing file"),
                         QKeySequence(Qt::CTRL | Qt::Key_O), &MainWindow::OpenExecute);
    acOpen_->setIcon(CommandIcon(this, "document-open", QStyle::SP_DialogOpenButton));
    acSave_ = MakeAction("acSave", QStringLiteral("&Save"), QStringLiteral("Save|Save the current file"),
                         QKeySequence(Qt::CTRL | Qt::Key_S), &MainWindow::SaveExecute);
    acSave_->setIcon(CommandIcon(this, "document-save", QStyle::SP_DialogSaveButton));
    acSaveas_ = MakeAction("acSaveas", QStringLiteral("Save &as..."),
                           QStringLiteral("Save as|Save the current file with a new name"), {},
                           &MainWindow::SaveAsExecute);
    acOpenTable_ = MakeAction("acOpenTable", QStringLiteral("Open Table..."),
                              QStringLiteral("Open Table from text file"), {}, &MainWindow::OpenTableExecute);
    acSaveTable_ = MakeAction("acSaveTable", QStringLiteral("Save &Table..."),
                              QStringLiteral("Save Table to text file"), {}, &MainWindow::SaveTableExecute);
    acExit_ = MakeAction("acExit", QStringLiteral("E&xit"), QStringLiteral("Exit|Close the application"),
                         QKeySequence(Qt::ALT | Qt::Key_F4), nullptr);
    connect(acExit_, &QAction::triggered, this, &QWidget::close);

    editUndo_ =
        MakeAction("EditUndo1", QStringLiteral("&Undo"), QStringLiteral("Undo|Reverts the last action"),
                   QKeySequence(Qt::CTRL | Qt::Key_Z), nullptr);
    editUndo_->setIcon(CommandIcon(this, "edit-undo", QStyle::SP_ArrowBack));
    editCut_ = MakeAction("EditCut1", QStringLiteral("Cu&t"),
                          QStringLiteral("Cut|Cuts the selection and puts it on the Clipboard"),
                          QKeySequence(Qt::CTRL | Qt::Key_X), nullptr);
    editCut_->setIcon(CommandIcon(this, "edit-cut", QStyle::SP_DialogDiscardButton));
    editCopy_ = MakeAction("EditCopy1", QStringLiteral("&Copy"),
                           QStringLiteral("Copy|Copies the selection and puts it on the Clipboard"),
                           QKeySequence(Qt::CTRL | Qt::Key_C), nullptr);
    editCopy_->setIcon(CommandIcon(this, "edit-copy", QStyle::SP_FileIcon));
    editPaste_ =
        MakeAction("EditPaste1", QStringLiteral("&Paste"), QStringLiteral("Paste|Inserts Clipboard contents"),
                   QKeySequence(Qt::CTRL | Qt::Key_V), nullptr);
    editPaste_->setIcon(CommandIcon(this, "edit-paste", QStyle::SP_DialogApplyButton));
    editDelete_ =
        MakeAction("EditDelete1", QStringLiteral("&Delete"), QStringLiteral("Delete|Erases the selection"),
                   QKeySequence(Qt::Key_Delete), nullptr);
    acSelectAll_ = MakeAction("acSelectAll", QStringLiteral("Select &All"),
                              QStringLiteral("Select All|Selects the entire document"),
                              QKeySequence(Qt::CTRL | Qt::Key_A), nullptr);
    const std::array<std::pair<QAction*, int>, 6> editCommands = {{{editUndo_, kUndo},
                                                                   {editCut_, kCut},
                                                                   {editCopy_, kCopy},
                                                                   {editPaste_, kPaste},
                                                                   {editDelete_, kDelete},
                                                                   {acSelectAll_, kSelectAll}}};
    for (const auto& [action, which] : editCommands)
        connect(action, &QAction::triggered, this, [this, which = which] { EditCommand(which); });

    searchFind_ =
        MakeAction("SearchFind1", QStringLiteral("&Find..."), QStringLiteral("Find|Finds the specified text"),
                   QKeySequence(Qt::CTRL | Qt::Key_F), &MainWindow::SearchFind1Execute);
    searchFind_->setIcon(CommandIcon(this, "edit-find", QStyle::SP_FileDialogContentsView));
    findNext_ =
        MakeAction("sf", QStringLiteral("Find &Next"), QStringLiteral("Find Next|Repeats the last find"),
                   QKeySequence(Qt::Key_F3), &MainWindow::FindNextExecute);
    findNext_->setIcon(CommandIcon(this, "go-next", QStyle::SP_ArrowForward));

    acShowAll_ = MakeAction("acShowAll", QStringLiteral("&Show all"), {}, {}, &MainWindow::acShowAllExecute);
    acHideAll_ = MakeAction("acHideAll", QStringLiteral("&Hide All"), {}, {}, &MainWindow::acHideAllExecute);
    acAbout_ = MakeAction("acAbout", QStringLiteral("&About VLP translator..."),
                          QStringLiteral("About|Dispay information about the program"), {},
                          &MainWindow::AboutExecute);
    // Reached only through its shortcut.
    action1_ = MakeAction("Action1", QStringLiteral("Action1"), {},
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F1), &MainWindow::DumpDictionary);
    addAction(action1_);

    translateAction_ = MakeAction("TranslateButton", QStringLiteral("Translate"), QStringLiteral("Translate"),
                                  {}, &MainWindow::TranslateButtonClick);
    translateAction_->setEnabled(false);
    ambiguityAction_ =
        MakeAction("AmbiguityButton", QStringLiteral("Ambiguity"),
                   QStringLiteral("Ambiguity|Search next ambiguity"), {}, &MainWindow::AmbiguityExecute);
    ambiguityAction_->setEnabled(false);
}

void MainWindow::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addActions({acOpen_, acSave_, acSaveas_});
    file->addSeparator();
    file->addActions({acOpenTable_, acSaveTable_});
    file->addSeparator();
    file->addAction(acExit_);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addAction(editUndo_);
    edit->addSeparator();
    edit->addActions({editCut_, editCopy_, editPaste_, editDelete_, acSelectAll_});
    edit->addSeparator();
    edit->addActions({searchFind_, findNext_});

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addActions({acShowAll_, acHideAll_});

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(acAbout_);
    for (QMenu* menu : {file, edit, view, help}) menu->setToolTipsVisible(false);
}

void MainWindow::CreateToolBars() {
    QToolBar* bar1 = addToolBar(QStringLiteral("ToolBar1"));
    bar1->setObjectName(QStringLiteral("ToolBar1"));
    bar1->setMovable(false);
    bar1->setIconSize(QSize(16, 16));
    bar1->addActions({acOpen_, acSave_});
    bar1->addSeparator();
    bar1->addActions({editCut_, editCopy_, editPaste_, editUndo_});
    bar1->addSeparator();
    bar1->addActions({searchFind_, findNext_});
    bar1->addSeparator();

    addToolBarBreak();
    QToolBar* bar2 = addToolBar(QStringLiteral("ToolBar2"));
    bar2->setObjectName(QStringLiteral("ToolBar2"));
    bar2->setMovable(false);
    bar2->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar2->addAction(translateAction_);
    bar2->addAction(ambiguityAction_);
    for (QAction* action : {translateAction_, ambiguityAction_})
        if (QWidget* button = bar2->widgetForAction(action)) button->setMinimumSize(52, 21);
    bar2->addSeparator();
    for (int k = 0; k < kLanguageButtonCount; ++k) {
        auto* button = new QToolButton(bar2);
        button->setObjectName(QStringLiteral("LanguageButton%1").arg(k + 1));
        button->setCheckable(true);
        button->setText(QStringLiteral("..."));
        button->setToolTip(QStringLiteral("language"));
        button->setStatusTip(QStringLiteral("Translation to "));
        button->setMinimumSize(52, 21);
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this,
                [this, k](bool down) { LanguageButtonClicked(k, down); });
        languageButtons_[static_cast<std::size_t>(k)] = button;
        languageButtonActions_[static_cast<std::size_t>(k)] = bar2->addWidget(button);
    }
    bar2->addSeparator();
}

void MainWindow::CreatePages() {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("TabControl1"));
    frames_ = new FramesArea(tabs_);
    grid_ = new QTableWidget(static_cast<int>(NamesGrid::kInitialRows), 3, tabs_);
    grid_->setObjectName(QStringLiteral("StringGrid1"));
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setDefaultSectionSize(250);
    grid_->verticalHeader()->setDefaultSectionSize(18);
    grid_->verticalHeader()->setMinimumSectionSize(10);
    grid_->setShowGrid(true);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    grid_->setFont(GridFont());
    connect(grid_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == 0) return;
        QString language;
        const auto* words = TargetWords(&language);
        UpdateCollision(item->row(), words, language);
    });
    tabs_->addTab(frames_, QStringLiteral("project"));
    tabs_->addTab(grid_, QStringLiteral("names"));
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::TabControl1Change);
    setCentralWidget(tabs_);
    GridFromModel();
}

void MainWindow::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(true);
    const std::array<int, 4> widths = {300, 50, 50, 100};
    for (int i = 0; i < 5; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i < 4) {
            panel->setFixedWidth(widths[static_cast<std::size_t>(i)]);
            bar->addWidget(panel);
        } else {
            // What the last Translate did; the four panels above keep their original use.
            bar->addWidget(panel, 1);
        }
        if (i == 1 || i == 2) panel->setAlignment(Qt::AlignCenter);
        panels_[static_cast<std::size_t>(i)] = panel;
    }
    panels_[2]->setText(QStringLiteral("1/1"));
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        panels_[0]->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (started_) return;
    started_ = true;
    QMetaObject::invokeMethod(this, &MainWindow::FormShow, Qt::QueuedConnection);
}

void MainWindow::FormShow() {
    if (arguments_.isEmpty()) return;
    QString fileName = arguments_.constFirst();
    if (!QFileInfo::exists(fileName)) fileName = PathFromCore(ws_.language.programDir) + fileName;
    if (QFileInfo::exists(fileName)) OpenProject(fileName);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (projectChanged_ && !QuerySaveChanges()) {
        event->ignore();
        return;
    }
    if (ambiguityDialog_ != nullptr) ambiguityDialog_->Button3Click();
    findDialog_->hide();
    event->accept();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void MainWindow::FormResize() {
    if (tabs_->currentIndex() != 1) return;
    grid_->setColumnWidth(0, 50);
    const int w = grid_->width() - 50 - style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 6;
    const int column1 = std::min(w / 2, 250);
    grid_->setColumnWidth(1, column1);
    grid_->setColumnWidth(2, w - column1);
}

void MainWindow::TabControl1Change(int index) {
    if (index == 1) FormResize();
}

void MainWindow::ShowLanguageStatus(const QString& text) {
    panels_[3]->setText(text);
    panels_[3]->setToolTip(text);  // the narrow panel cuts longer texts
}

bool MainWindow::LanguageButtonShown(int index) const {
    return languageButtonActions_[static_cast<std::size_t>(index)]->isVisible();
}

void MainWindow::SyncLanguageButtons() {
    // Once a translation has fixed the target, no button is offered, not even one without a
    // language: pressing it would enable Translate again over the translated text.
    const bool targetFixed = !ws_.language.targetLanguageFile.empty();
    for (int k = 0; k < kLanguageButtonCount; ++k) {
        const vlp::LanguageButton& model = ws_.buttons.buttons[static_cast<std::size_t>(k)];
        QToolButton* button = languageButtons_[static_cast<std::size_t>(k)];
        button->setText(FromCp1250(model.caption));
        button->setEnabled(model.enabled);
        button->setChecked(model.down);
        languageButtonActions_[static_cast<std::size_t>(k)]->setVisible(model.visible && !targetFixed);
    }
}

void MainWindow::LanguageButtonClicked(int index, bool down) {
    // One group in which at most one button is down, and all may be up.
    for (int k = 0; k < kLanguageButtonCount; ++k) {
        const bool isDown =
            k == index ? down : (down ? false : ws_.buttons.buttons[static_cast<std::size_t>(k)].down);
        ws_.buttons.buttons[static_cast<std::size_t>(k)].down = isDown;
        languageButtons_[static_cast<std::size_t>(k)]->setChecked(isDown);
    }
    ButtonChangeLanguage(index);
}

void MainWindow::ButtonChangeLanguage(int index) {
    const std::string& language = ws_.project.projectLanguage;
    if (language.empty()) {
        ShowLanguageStatus(QStringLiteral("unknown language"));
    } else if (ws_.buttons.buttons[static_cast<std::size_t>(index)].down) {
        ShowLanguageStatus(
            QStringLiteral("from language (%1) to language (%2)")
                .arg(FromCp1250(language), languageButtons_[static_cast<std::size_t>(index)]->text()));
        translateAction_->setEnabled(true);
    } else {
        ShowLanguageStatus(QStringLiteral("language (%1)").arg(FromCp1250(language)));
        translateAction_->setEnabled(false);
    }
    UpdateCollisions();
}

std::vector<SectionFrame*> MainWindow::Frames() const {
    return frames_->Frames();
}

std::vector<TFrameStruct> MainWindow::FrameStructs() const {
    std::vector<TFrameStruct> frames;
    frames.reserve(frames_->Frames().size());
    for (const SectionFrame* frame : frames_->Frames()) frames.push_back(frame->FrameStruct());
    return frames;
}

void MainWindow::RebuildEditorList() {
    editorList_.clear();
    for (const SectionFrame* frame : frames_->Frames())
        for (int i = 0; i < frame->PartCount(); ++i) editorList_.push_back(frame->Part(i));
}

void MainWindow::OpenExecute() {
    if (projectChanged_ && !QuerySaveChanges()) return;
    const QString fileName = prompts_->OpenFileName(
        {QStringLiteral("Open vorlane project"), kProjectFilter, QStringLiteral("vlp"), openFolder_});
    if (!fileName.isEmpty()) OpenProject(fileName);
}

void MainWindow::OpenProject(const QString& fileName) {
    BusyCursor busy;
    QWidget* content = frames_->widget();
    content->hide();
    translateAction_->setEnabled(false);
    ambiguityAction_->setEnabled(false);
    // The dialog must let go of the editors before they are destroyed.
    if (ambiguityDialog_ != nullptr) ambiguityDialog_->Reset();
    panels_[4]->clear();

    projectFileName_ = fileName;
    outputFileName_.clear();
    projectChanged_ = true;
    setWindowTitle(kTitle + QStringLiteral(" - ") + fileName);
    openFolder_ = QFileInfo(fileName).absolutePath();
    editorList_.clear();
    frames_->Clear();
    targetWordCache_.clear();

    Guard([&] {
        const std::vector<TStruct> sections = OpenProjectSections(ws_, PathToCore(fileName), *prompts_);
        for (const TStruct& section : sections) frames_->AddFrame()->LoadSection(section);
    });
    // The next translation picks its target afresh.
    ws_.language.targetLanguageFile.clear();
    GridFromModel();
    RebuildEditorList();
    SyncLanguageButtons();
    content->show();
    frames_->Relayout();
    frames_->verticalScrollBar()->setValue(0);

    if (!editorList_.empty()) {
        PartEditor* first = editorList_.front();
        first->Select(0, 0);
        first->widget()->setFocus();
    }
    // The language status as if the highest button that is down (else the first) had been
    // clicked; the open released them all, so this reads "language (...)".
    const int languages = static_cast<int>(ws_.language.LanguageList.size());
    if (languages > 0) {
        int button = 0;
        for (int k = std::min(languages, kLanguageButtonCount) - 1; k >= 1; --k) {
            if (ws_.buttons.buttons[static_cast<std::size_t>(k)].down) {
                button = k;
                break;
            }
        }
        ButtonChangeLanguage(button);
    }
}

bool MainWindow::QuerySaveChanges() {
    const QString question = QStringLiteral("The project ") + projectFileName_ +
                             QStringLiteral(" has changed.") + QStringLiteral("\r\r") +
                             QStringLiteral("Do you want to save the changes?");
    switch (prompts_->Question(question)) {
        case Prompts::Answer::Yes:
            return SaveProject();
        case Prompts::Answer::No:
            return true;
        case Prompts::Answer::Cancel:
            break;
    }
    return false;
}

void MainWindow::SaveExecute() {
    if (projectChanged_) SaveProject();
}

bool MainWindow::CheckSavable() {
    if (projectFileName_.isEmpty()) {
        prompts_->Information(QStringLiteral("No project is open, so there is nothing to save."));
        return false;
    }
    const std::string refusal = SaveRefusal(FrameStructs());
    if (!refusal.empty()) {
        prompts_->Message(refusal);
        return false;
    }
    return CheckEncodable(true, false, QStringLiteral("Nothing was saved."));
}

bool MainWindow::CheckEncodable(bool editors, bool grid, const QString& consequence) {
    const QString tail = QStringLiteral(" cannot be written in the Windows-1250 code page. ") + consequence;
    if (editors) {
        for (const PartEditor* editor : editorList_) {
            const auto bad = editor->FindUnencodable();
            if (!bad) continue;
            QString where = QStringLiteral("section \"%1\"").arg(editor->frame()->CheckBox1()->text());
            if (editor->frame()->PartCount() > 1)
                where += QStringLiteral(", part %1").arg(editor->index() + 1);
            prompts_->Error(QStringLiteral("The character %1 in %2, line %3, column %4")
                                .arg(DescribeCharacter(bad->codePoint), where)
                                .arg(bad->line)
                                .arg(bad->column) +
                            tail);
            return false;
        }
    }
    if (grid) {
        for (int row = 0; row < grid_->rowCount(); ++row) {
            for (int column = 1; column < 3; ++column) {
                const QTableWidgetItem* item = grid_->item(row, column);
                if (item == nullptr) continue;
                const auto bad = FindUnencodable(item->text());
                if (!bad) continue;
                prompts_->Error(QStringLiteral("The character %1 in the names table, row %2, column %3")
                                    .arg(DescribeCharacter(bad->codePoint))
                                    .arg(row + 1)
                                    .arg(column + 1) +
                                tail);
                return false;
            }
        }
    }
    return true;
}

bool MainWindow::SaveProject() {
    if (!CheckSavable()) return false;
    return Guard([&] {
        BusyCursor busy;
        if (outputFileName_.isEmpty())
            outputFileName_ = PathFromCore(DeriveOutputFileName(ws_, PathToCore(projectFileName_)));
        vlp::SaveProject(ws_, FrameStructs(), PathToCore(projectFileName_), PathToCore(outputFileName_));
    });
}

void MainWindow::SaveAsExecute() {
    SaveProjectAs();
}

bool MainWindow::SaveProjectAs() {
    if (!CheckSavable()) return false;
    const QString fileName = prompts_->SaveFileName(
        {QStringLiteral("Save vorlane project"), kProjectFilter, QStringLiteral("vlp"), projectFileName_});
    if (fileName.isEmpty()) return false;
    outputFileName_ = fileName;
    const bool saved = SaveProject();
    setWindowTitle(kTitle + QStringLiteral(" - ") + projectFileName_);
    return saved;
}

void MainWindow::OpenTableExecute() {
    const QString fileName =
        prompts_->OpenFileName({QStringLiteral("Open table"), kTableFilter, QStringLiteral("txt"),
                                QFileInfo(projectFileName_).absolutePath()});
    if (fileName.isEmpty()) return;
    if (!CheckEncodable(false, true, QStringLiteral("The table was not read."))) return;
    GridToModel();
    Guard([&] { LoadNamesFile(ws_, PathToCore(fileName)); });
    // Rows read before a failure keep their new translations.
    GridFromModel();
}

void MainWindow::SaveTableExecute() {
    QString proposal = QStringLiteral(".txt");
    if (!projectFileName_.isEmpty()) {
        const QFileInfo info(projectFileName_);
        proposal = info.dir().filePath(info.completeBaseName() + QStringLiteral(".txt"));
    }
    const QString fileName =
        prompts_->SaveFileName({QStringLiteral("Save Table"), kTableFilter, QStringLiteral("txt"), proposal});
    if (fileName.isEmpty()) return;
    if (!CheckEncodable(false, true, QStringLiteral("The table was not saved."))) return;
    GridToModel();
    Guard([&] { SaveNamesFile(ws_, PathToCore(fileName)); });
}

void MainWindow::GridToModel() {
    auto& rows = ws_.namesGrid.rows;
    rows.resize(static_cast<std::size_t>(grid_->rowCount()));
    for (int row = 0; row < grid_->rowCount(); ++row) {
        for (int column = 0; column < 3; ++column) {
            const QTableWidgetItem* item = grid_->item(row, column);
            rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] =
                item != nullptr ? ToCp1250(item->text()) : std::string();
        }
    }
}

void MainWindow::GridFromModel() {
    const QSignalBlocker blocker(grid_);
    const auto& rows = ws_.namesGrid.rows;
    grid_->setRowCount(static_cast<int>(rows.size()));
    const QBrush window = palette().window();
    for (int row = 0; row < grid_->rowCount(); ++row) {
        for (int column = 0; column < 3; ++column) {
            QTableWidgetItem* item = grid_->item(row, column);
            if (item == nullptr) {
                item = new QTableWidgetItem;
                if (column == 0) {
                    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                    item->setBackground(window);
                }
                grid_->setItem(row, column, item);
            }
            item->setText(FromCp1250(rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]));
        }
    }
    UpdateCollisions();
}

const std::unordered_set<std::string>* MainWindow::TargetWords(QString* language) {
    // After the first translation the target is fixed and loaded; before it, the button that
    // is down names it.
    int index = -1;
    const auto& languages = ws_.language.LanguageList;
    if (!ws_.language.targetLanguageFile.empty()) {
        for (std::size_t i = 0; i < languages.size(); ++i)
            if (languages[i].fileName == ws_.language.targetLanguageFile) index = static_cast<int>(i);
    } else {
        for (std::size_t i = 0; i < languages.size() && i < ws_.buttons.buttons.size(); ++i)
            if (ws_.buttons.buttons[i].down) index = static_cast<int>(i);
    }
    if (index < 0) return nullptr;
    const LanguageInfo& info = languages[static_cast<std::size_t>(index)];
    *language = FromCp1250(info.name);
    auto cached = targetWordCache_.find(info.fileName);
    if (cached != targetWordCache_.end()) return &cached->second;

    // Read the target file on its own, without touching the workspace's language tables.
    LanguageState probe;
    probe.programDir = ws_.language.programDir;
    probe.upperCaseMode = ws_.language.upperCaseMode;
    probe.targetLanguageFile = info.fileName;
    try {
        LoadTargetLanguage(probe);
    } catch (const IoError&) {
        return nullptr;  // the Translate command reports the file
    }
    std::unordered_set<std::string> words;
    for (const auto& [key, value] : probe.TargetDictionary.pairs) {
        std::size_t begin = 0;
        while (begin < value.size()) {
            std::size_t end = value.find(' ', begin);
            if (end == std::string::npos) end = value.size();
            if (end > begin)
                words.insert(
                    FoldWord(std::string_view(value).substr(begin, end - begin), probe.upperCaseMode));
            begin = end + 1;
        }
    }
    return &targetWordCache_.emplace(info.fileName, std::move(words)).first->second;
}

void MainWindow::UpdateCollisions() {
    QString language;
    const auto* words = TargetWords(&language);
    const QSignalBlocker blocker(grid_);
    for (int row = 0; row < grid_->rowCount(); ++row) UpdateCollision(row, words, language);
}

void MainWindow::UpdateCollision(int row, const std::unordered_set<std::string>* words,
                                 const QString& language) {
    QTableWidgetItem* nameItem = grid_->item(row, 1);
    QTableWidgetItem* translationItem = grid_->item(row, 2);
    if (nameItem == nullptr || translationItem == nullptr) return;
    const QString name = nameItem->text().trimmed();
    const QString translation = translationItem->text().trimmed();
    const QString used = translation.isEmpty() ? name : translation;
    const bool collides = words != nullptr && !used.isEmpty() &&
                          words->count(FoldWord(ToCp1250(used), ws_.language.upperCaseMode)) > 0;
    const QSignalBlocker blocker(grid_);
    const QString tip = collides ? QStringLiteral(
                                       "\"%1\" is also a word of the language %2: the translated project "
                                       "would take the name for that word. Give it another translation.")
                                       .arg(used, language)
                                 : QString();
    for (QTableWidgetItem* item : {nameItem, translationItem}) {
        item->setBackground(collides ? QBrush(kCollision) : QBrush());
        item->setToolTip(tip);
    }
}

void MainWindow::TranslateButtonClick() {
    if (!CheckEncodable(true, true, QStringLiteral("Nothing was translated."))) return;
    translateAction_->setEnabled(false);
    ambiguityAction_->setEnabled(true);
    Guard([&] {
        BusyCursor busy;
        GridToModel();
        TranslateProject(ws_, FrameStructs());
    });
    // The first part translated hid the language buttons (also when the target failed to load).
    SyncLanguageButtons();
    ShowTranslationCounts();
    UpdateCollisions();
}

void MainWindow::ShowTranslationCounts() {
    int translated = 0;
    int ambiguous = 0;
    for (const PartEditor* editor : editorList_) {
        for (const Mark& run : editor->MarkedRuns()) {
            if (run.status == kMarkTranslated) ++translated;
            if (run.status == kMarkAmbiguous) ++ambiguous;
        }
    }
    panels_[4]->setText(QStringLiteral("%1 words translated, %2 ambiguous").arg(translated).arg(ambiguous));
}

void MainWindow::AmbiguityExecute() {
    if (ambiguityDialog_ == nullptr) return;
    ambiguityDialog_->ShowAmbiguities(editorList_);
}

void MainWindow::RevealRange(PartEditor* editor, int start, int length) {
    tabs_->setCurrentIndex(0);
    editor->Select(start, length);
    QTextEdit* edit = editor->widget();
    edit->setFocus();
    frames_->Reveal(edit, edit->cursorRect());
}

void MainWindow::acShowAllExecute() {
    BusyCursor busy;
    frames_->BeginBatch();
    for (SectionFrame* frame : frames_->Frames()) frame->CheckBox1()->setChecked(true);
    frames_->EndBatch();
}

void MainWindow::acHideAllExecute() {
    BusyCursor busy;
    frames_->BeginBatch();
    for (SectionFrame* frame : frames_->Frames()) frame->CheckBox1()->setChecked(false);
    frames_->EndBatch();
}

void MainWindow::AboutExecute() {
    QString title = kTitle;
    if (!QCoreApplication::applicationVersion().isEmpty())
        title += QLatin1Char(' ') + QCoreApplication::applicationVersion();
    prompts_->Information(title +
                          QStringLiteral("\r\rTranslates Vorlane projects from one language version of "
                                         "Vorlane into another."));
}

void MainWindow::DumpDictionary() {
    Guard([&] {
        const std::string fileName = DefaultDumpFileName(ws_.language);
        if (vlp::DumpDictionary(ws_.language, fileName))
            prompts_->Information(QStringLiteral("dictionary to file\r\n") + PathFromCore(fileName));
    });
}

void MainWindow::SearchFind1Execute() {
    findDialog_->show();
    findDialog_->raise();
    findDialog_->activateWindow();
    findDialog_->TextEdit()->setFocus();
    findDialog_->TextEdit()->selectAll();
}

void MainWindow::FindNextExecute() {
    // With nothing to look for yet, ask for it.
    if (findDialog_->FindText().isEmpty()) {
        SearchFind1Execute();
        return;
    }
    SearchFind1FindDialogFind();
}

void MainWindow::SearchFind1FindDialogFind() {
    const QString needle = findDialog_->FindText();
    if (needle.isEmpty()) return;
    QWidget* active = focusWidget();
    const auto activeIt = std::find_if(
        editorList_.begin(), editorList_.end(),
        [active](const PartEditor* editor) { return active != nullptr && editor->widget() == active; });
    if (activeIt == editorList_.end()) return;
    const int activeIndex = static_cast<int>(activeIt - editorList_.begin());

    std::optional<SearchHit> hit;
    if (!FindUnencodable(needle)) {
        BusyCursor busy;
        std::vector<std::string> texts;
        texts.reserve(editorList_.size());
        for (const PartEditor* editor : editorList_) texts.push_back(editor->Text());
        hit = FindTextInEditors(texts, activeIndex, (*activeIt)->SelectionEnd(), ToCp1250(needle));
    }
    if (!hit) {
        prompts_->Information(QStringLiteral("Text not found"));
        return;
    }
    PartEditor* editor = editorList_[static_cast<std::size_t>(hit->editor)];
    // A match in a folded frame unfolds it.
    if (editor->frame()->IsFolded()) editor->frame()->CheckBox1()->setChecked(true);
    editor->SetShown(true);
    RevealRange(editor, hit->position, static_cast<int>(needle.size()));
    findDialog_->hide();
}

QWidget* MainWindow::FocusedTextEditor() const {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || focus->window() != this) focus = focusWidget();
    if (focus == nullptr) return nullptr;
    if (auto* edit = qobject_cast<QTextEdit*>(focus);
        edit != nullptr && qobject_cast<SectionFrame*>(edit->parentWidget()))
        return edit;
    if (auto* line = qobject_cast<QLineEdit*>(focus); line != nullptr && grid_->isAncestorOf(line))
        return line;
    return nullptr;
}

void MainWindow::EditCommand(int which) {
    QWidget* focus = FocusedTextEditor();
    if (auto* edit = qobject_cast<QTextEdit*>(focus)) {
        switch (which) {
            case kUndo:
                edit->undo();
                break;
            case kCut:
                edit->cut();
                break;
            case kCopy:
                edit->copy();
                break;
            case kPaste:
                edit->paste();
                break;
            case kDelete:
                edit->textCursor().removeSelectedText();
                break;
            case kSelectAll:
                edit->selectAll();
                break;
        }
    } else if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        switch (which) {
            case kUndo:
                line->undo();
                break;
            case kCut:
                line->cut();
                break;
            case kCopy:
                line->copy();
                break;
            case kPaste:
                line->paste();
                break;
            case kDelete:
                line->del();
                break;
            case kSelectAll:
                line->selectAll();
                break;
        }
    }
    ActionListUpdate();
}

void MainWindow::ActionListUpdate() {
    panels_[1]->setText(CapsLockOn() ? QStringLiteral("CAPS") : QString());
    acSave_->setEnabled(projectChanged_);

    bool selection = false, text = false, undo = false;
    QWidget* focus = FocusedTextEditor();
    if (auto* edit = qobject_cast<QTextEdit*>(focus)) {
        selection = edit->textCursor().hasSelection();
        text = !edit->document()->isEmpty();
        undo = edit->document()->isUndoAvailable();
    } else if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        selection = line->hasSelectedText();
        text = !line->text().isEmpty();
        undo = line->isUndoAvailable();
    }
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    const bool clipboardText = focus != nullptr && clip != nullptr && clip->hasText();
    editCut_->setEnabled(selection);
    editCopy_->setEnabled(selection);
    editDelete_->setEnabled(selection);
    editPaste_->setEnabled(clipboardText);
    editUndo_->setEnabled(undo);
    acSelectAll_->setEnabled(text);
}

}  // namespace vlp::ui
