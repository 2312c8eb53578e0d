// The input window: footages, scale and car counts for an analysis, whose results it
// shows in a modal results window.
#pragma once

#include "analysis/analysis_types.h"
#include "analysis/session_state.h"
#include "forms/fonts.h"
#include "forms/print_sequence_hook.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace trelvane {

class TrackBox;
class UpDown;

class frmInput : public QWidget {
    Q_OBJECT
public:
    explicit frmInput(stdGeneral &session, PrintSequence printSequence = {},
                      QWidget *parent = nullptr);

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
    void commitFootage(TrackBox &box, std::int16_t &field);
    CarCounts carCounts() const;

    const WindowFontFirst m_windowFont{this};
    stdGeneral &m_session;
    PrintSequence m_printSequence;

    QGroupBox *const fraScale;
    QGroupBox *const fraTrack;
    QGroupBox *const fraRollStk;
    QButtonGroup *const optScale;
    TrackBox *const txtPassTrack;
    TrackBox *const txtFuncTrack;
    TrackBox *const txtStorTrack;
    const std::array<QLabel *, 8> lblNoCars;
    const std::array<UpDown *, 8> udNoCars;
    QPushButton *const cmdAnalyze;
    QPushButton *const cmdExit;
};

} // namespace trelvane
