// The input window: footages, scale and car counts for an analysis, whose results it
// shows in a modal results window; and the program's start, which opens it.
#pragma once

#include "analysis/analysis_types.h"
#include "analysis/session_state.h"
#include "forms/window_kit.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace trelvane {

class EntryBox;
class UpDown;

class frmInput : public QWidget {
    Q_OBJECT
public:
    explicit frmInput(stdGeneral &session, QWidget *parent = nullptr);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void optScale_Click(int index);
    void txtPassTrack_KeyPress(char16_t &keyAscii);
    void txtFuncTrack_KeyPress(char16_t &keyAscii);
    void txtStorTrack_KeyPress(char16_t &keyAscii);
    void txtPassTrack_LostFocus();
    void txtFuncTrack_LostFocus();
    void txtStorTrack_LostFocus();
    void cmdAnalyze_Click();
    void cmdExit_Click();

    void ShowAnswers(const AnalysisResult &result);
    void showFailure(FailureKind kind);
    void footageKeyPress(char16_t &keyAscii);
    void commitFootage(EntryBox &box, std::int16_t &field);
    CarCounts carCounts() const;

    const WindowDesign m_design{this, 7545, 4095, WindowDesign::Border::Fixed};
    stdGeneral &m_session;

    QGroupBox *const fraScale;
    QGroupBox *const fraTrack;
    QGroupBox *const fraRollStk;
    QButtonGroup *const optScale;
    EntryBox *const txtPassTrack;
    EntryBox *const txtFuncTrack;
    EntryBox *const txtStorTrack;
    const std::array<QLabel *, 8> lblNoCars;
    const std::array<UpDown *, 8> udNoCars;
    QPushButton *const cmdAnalyze;
    QPushButton *const cmdExit;
};

// The program's start: shows the input window modeless for the session; the window
// deletes itself when closed, and the program ends with it.
void Main(stdGeneral &session);

} // namespace trelvane
