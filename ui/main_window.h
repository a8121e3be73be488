#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "project/project_state.h"
#include "translate/text_translation.h"
#include "ui/ambiguity_dialog.h"
#include "ui/prompts.h"

class QAction;
class QLabel;
class QTabWidget;
class QTableWidget;
class QTableWidgetItem;
class QTimer;
class QToolButton;

namespace vlp::ui {

class FindDialog;
class FramesArea;
class PartEditor;
class SectionFrame;

struct MainWindowOptions {
    // Where the language data lies, with a trailing separator; empty: the executable's folder.
    std::string programDir;
    // The command line after the program's name; the first entry names a project to open.
    QStringList arguments;
    // Message boxes and file dialogs; null: the real ones.
    Prompts* prompts = nullptr;
};

// The main window: menus, two tool bars, the "project" tab with the section frames, the
// "names" tab with the names grid, and the status bar. Every command starts here and drives
// the core; each one catches input/output errors itself, shows them and leaves the window
// usable.
class MainWindow : public QMainWindow, public AmbiguityHost {
    Q_OBJECT

public:
    static inline const QString kTitle = QStringLiteral("VLP translator");

    explicit MainWindow(MainWindowOptions options = {});
    ~MainWindow() override;

    // The dialog the program made at start (Ambiguity command).
    void SetAmbiguityDialog(AmbiguityDialog* dialog) { ambiguityDialog_ = dialog; }
    AmbiguityDialog* ambiguityDialog() const { return ambiguityDialog_; }

    Workspace& workspace() override { return ws_; }
    void RevealRange(PartEditor* editor, int start, int length) override;

    // Opens the project named on the command line (run once the window is shown).
    void FormShow();

    void OpenExecute();
    void OpenProject(const QString& fileName);
    bool QuerySaveChanges();
    void SaveExecute();
    bool SaveProject();
    void SaveAsExecute();
    bool SaveProjectAs();
    void OpenTableExecute();
    void SaveTableExecute();
    void TranslateButtonClick();
    void AmbiguityExecute();
    void ButtonChangeLanguage(int index);
    void acShowAllExecute();
    void acHideAllExecute();
    void AboutExecute();
    void DumpDictionary();
    void SearchFind1Execute();
    void FindNextExecute();
    void SearchFind1FindDialogFind();
    // Refreshes the enabled states, the Caps Lock panel and the Save command.
    void ActionListUpdate();
    void ShowLanguageStatus(const QString& text);

    const QString& projectFileName() const { return projectFileName_; }
    const QString& outputFileName() const { return outputFileName_; }
    bool projectChanged() const { return projectChanged_; }
    const std::vector<PartEditor*>& EditorList() const { return editorList_; }
    std::vector<SectionFrame*> Frames() const;

    FramesArea* ScrollBox1() const { return frames_; }
    QTableWidget* StringGrid1() const { return grid_; }
    QTabWidget* TabControl1() const { return tabs_; }
    QToolButton* LanguageButton(int index) const { return languageButtons_[static_cast<std::size_t>(index)]; }
    // Whether language button `index` is on the tool bar (the tool bar shows it through an
    // action of its own).
    bool LanguageButtonShown(int index) const;
    QAction* TranslateButton() const { return translateAction_; }
    QAction* AmbiguityButton() const { return ambiguityAction_; }
    QLabel* StatusPanel(int index) const { return panels_[static_cast<std::size_t>(index)]; }
    FindDialog* findDialog() const { return findDialog_; }
    // Mirrors the names grid widget into the workspace and back.
    void GridToModel();
    void GridFromModel();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreatePages();
    void CreateStatusBar();
    QAction* MakeAction(const char* name, const QString& caption, const QString& hint,
                        const QKeySequence& shortcut, void (MainWindow::*handler)());

    // Runs a command; an error it raises is shown and the command ends. False on error.
    template <typename F>
    bool Guard(F&& command);

    void SyncLanguageButtons();
    void LanguageButtonClicked(int index, bool down);
    void TabControl1Change(int index);
    void FormResize();
    std::vector<TFrameStruct> FrameStructs() const;
    void RebuildEditorList();
    // Refuses (with the reason) a save that would write nothing useful.
    bool CheckSavable();
    // Finds characters Windows-1250 cannot hold in the editors and/or the grid, names the
    // first and returns false.
    bool CheckEncodable(bool editors, bool grid, const QString& consequence);
    void ShowTranslationCounts();
    QString UpdatedTitle() const;

    // Words of the target language (folded), for the names grid's collision flags.
    const std::unordered_set<std::string>* TargetWords(QString* language);
    void UpdateCollisions();
    void UpdateCollision(int row, const std::unordered_set<std::string>* words, const QString& language);

    QWidget* FocusedTextEditor() const;
    void EditCommand(int which);

    Workspace ws_;
    std::unique_ptr<Prompts> ownPrompts_;
    Prompts* prompts_;
    QStringList arguments_;
    bool started_ = false;

    QString projectFileName_;
    QString outputFileName_;
    QString openFolder_;
    bool projectChanged_ = false;
    std::vector<PartEditor*> editorList_;
    std::map<std::string, std::unordered_set<std::string>> targetWordCache_;

    AmbiguityDialog* ambiguityDialog_ = nullptr;
    FindDialog* findDialog_ = nullptr;
    FramesArea* frames_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    std::array<QLabel*, 5> panels_{};
    std::array<QToolButton*, kLanguageButtonCount> languageButtons_{};
    std::array<QAction*, kLanguageButtonCount> languageButtonActions_{};
    QTimer* updateTimer_ = nullptr;

    QAction* acOpen_ = nullptr;
    QAction* acSave_ = nullptr;
    QAction* acSaveas_ = nullptr;
    QAction* acOpenTable_ = nullptr;
    QAction* acSaveTable_ = nullptr;
    QAction* acExit_ = nullptr;
    QAction* editUndo_ = nullptr;
    QAction* editCut_ = nullptr;
    QAction* editCopy_ = nullptr;
    QAction* editPaste_ = nullptr;
    QAction* editDelete_ = nullptr;
    QAction* acSelectAll_ = nullptr;
    QAction* searchFind_ = nullptr;
    QAction* findNext_ = nullptr;
    QAction* acShowAll_ = nullptr;
    QAction* acHideAll_ = nullptr;
    QAction* acAbout_ = nullptr;
    QAction* action1_ = nullptr;
    QAction* translateAction_ = nullptr;
    QAction* ambiguityAction_ = nullptr;
};

}  // namespace vlp::ui
