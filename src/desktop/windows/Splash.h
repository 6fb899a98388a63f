#pragma once
// The main window: title, version, the scrolling sample ticker, the Start button and the menus for
// the symbol file, the viewers, printing, the setup dialogs, the quote source and help.

#include <QMainWindow>

#include "core/SharedState.h"

class DesktopServices;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;

class Splash : public QMainWindow {
    Q_OBJECT
public:
    Splash(SharedState& state, DesktopServices& services, QWidget* parent = nullptr);

    // The ticker's left edge in twips (1440 to the inch): 0 down to -8535, then back to 0.
    int TickerLeft() const { return tickerLeft_; }
    void Timer1_Timer();

    QWidget* Picture1;
    QLabel* Label4;
    QLabel* Label1;
    QPushButton* Command1;
    QLineEdit* Text1;
    QTimer* Timer1;
    QAction* mnuGetQuoteFromQuoteServer;
    QAction* mnuGetQuoteFromLocalFile;

signals:
    // Start was pressed: the run window is to open and this window to close.
    void StartRequested();
    // View - Pass Table.
    void PassTableRequested();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildPicture();
    void BuildMenus();
    QAction* AddItem(QMenu* menu, const char* name, const QString& caption, void (Splash::*handler)());
    int Pixels(int twips) const;
    void Form_Activate();
    void StopTicker();
    void Command1_Click();
    void mnuChoose_Click();
    void mnuEditSymbols_Click();
    void mnuSwap1_Click();
    void mnuSwap2_Click();
    void mnuSwap3_Click();
    void mnuPrintResults_Click();
    void OpenInEditor(const std::string& path);
    void mnuGoodSym_Click();
    void mnuBadSym_Click();
    void mnuResultsSymols_Click();
    void mnuResults_Click();
    void mnuRunNotepad_Click();
    void mnuPassTable_Click();
    void mnuQuoteServer_Click();
    void mnuInterest_Click();
    void mnuFilter_Click();
    void mnuGetQuoteFromQuoteServer_Click();
    void mnuGetQuoteFromLocalFile_Click();
    void mnuContents_Click();
    void mnuHowToContactUs_Click();
    void mnuDisclaimer_Click();
    void QuitKey_Triggered();
    void SetQuoteSource(bool localFile);
    void Swap(const std::string& other);
    void ShowCaption();

    SharedState& state_;
    DesktopServices& services_;
    int tickerLeft_ = 0;
};
