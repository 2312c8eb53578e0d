#include "forms/frm_input.h"

#include "analysis/analyze.h"
#include "analysis/number_rules.h"
#include "analysis/result_captions.h"
#include "analysis/scale_table.h"
#include "forms/about.h"
#include "forms/entry_box.h"
#include "forms/frm_answers.h"
#include "forms/help_window.h"
#include "forms/up_down.h"
#include "forms/window_kit.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>
#include <QScreen>

namespace trelvane {

namespace {

// What a track box may hold while it is typed in.
class FootageValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString &text, int &) const override
    {
        return isFootageEntry(text.toStdString()) ? Acceptable : Invalid;
    }
};

EntryBox *trackBox(const QString &name, const QString &tip, int top, QWidget *parent)
{
    auto *box = placed(new EntryBox(parent), name, Twips{1560, top, 615, 285});
    box->setToolTip(tip);
    box->setMaxLength(4);
    box->setAlignment(Qt::AlignCenter);
    // The key filter sees typed characters only; paste, drop and input methods meet this.
    box->setValidator(new FootageValidator(box));
    return box;
}

QString fromStd(const std::string &text)
{
    return QString::fromStdString(text);
}

QPushButton *button(const QString &name, const QString &caption, const QString &tip, int left,
                    QWidget *parent)
{
    auto *push = makeButton(name, caption, tip, Twips{left, 3480, 1400, 375}, parent);
    // No Enter or Esc meaning for the whole window.
    push->setAutoDefault(false);
    return push;
}

// Classes 0..3 fill the left column of the rolling-stock frame, 4..7 the right one.
constexpr std::array<int, 4> kRowTops{720, 1200, 1680, 2160};

int columnLeft(std::size_t index, int leftColumn, int rightColumn)
{
    return index < 4 ? leftColumn : rightColumn;
}

// A count label shows the number alone; a screen reader also says which cars it counts.
void showCount(QLabel *count, int value)
{
    count->setText(QString::number(value));
    count->setAccessibleName(QString("%1: %2").arg(count->toolTip()).arg(value));
}

std::array<QLabel *, 8> countLabels(QWidget *parent)
{
    std::array<QLabel *, 8> labels{};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        auto *count = makeLabel(QString("lblNoCars%1").arg(i), QString(),
                                Twips{columnLeft(i, 600, 2040), kRowTops[i % 4], 495, 255},
                                parent);
        count->setFrameStyle(QFrame::Box | QFrame::Plain);
        count->setAlignment(Qt::AlignCenter);
        count->setAutoFillBackground(true);
        count->setBackgroundRole(QPalette::Base);
        count->setToolTip(
            QString("Number of %1' cars").arg(kCarClasses[i].lengthFeet));
        showCount(count, 0);
        labels[i] = count;
    }
    return labels;
}

std::array<UpDown *, 8> counters(QWidget *parent)
{
    std::array<UpDown *, 8> upDowns{};
    for (std::size_t i = 0; i < upDowns.size(); ++i) {
        auto *upDown = placed(new UpDown(parent), QString("udNoCars%1").arg(i),
                              Twips{columnLeft(i, 1080, 2520), kRowTops[i % 4], 195, 255});
        // The arrows alone do not say which cars they count.
        upDown->setAccessibleName(QString("Number of %1' cars").arg(kCarClasses[i].lengthFeet));
        upDowns[i] = upDown;
    }
    return upDowns;
}

} // namespace

frmInput::frmInput(stdGeneral &session, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
    , m_session(session)
    , fraScale(makeFrame("fraScale", "Scale", Twips{240, 240, 975, 2652}, this))
    , fraTrack(makeFrame("fraTrack", "Trackage", Twips{1560, 240, 2415, 2655}, this))
    , fraRollStk(makeFrame("fraRollStk", "Rolling Stock", Twips{4320, 240, 2965, 2655}, this))
    , optScale(new QButtonGroup(this))
    , txtPassTrack(trackBox("txtPassTrack",
                            " Passing track is that used in conjuction with the mainline track in "
                            "order that trains can meet and pass one another. ",
                            1200, fraTrack))
    , txtFuncTrack(trackBox("txtFuncTrack",
                            " Functional trackage is your maneuvering trackage.  Yard leads, "
                            "drills, etc. are all functional trackage. ",
                            1680, fraTrack))
    , txtStorTrack(trackBox("txtStorTrack",
                            " Storage trackage consists of your yards, industry track, etc.  Any "
                            "track which is used to classify or store cars. ",
                            2160, fraTrack))
    , lblNoCars(countLabels(fraRollStk))
    , udNoCars(counters(fraRollStk))
    , cmdAnalyze(button("cmdAnalyze", "Analyze", "Do the analysis", 4320, this))
    , cmdExit(button("cmdExit", "Exit", "End the program", 5880, this))
{
    setObjectName("frmInput");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(trelvaneIcon());

    optScale->setObjectName("optScale");
    optScale->setExclusive(true);
    constexpr std::array<int, 6> kOptionTops{360, 720, 1080, 1440, 1800, 2160};
    for (const ScaleEntry &scale : kScaleTable) {
        const QString name = QString::fromUtf8(scale.name.data(), qsizetype(scale.name.size()));
        auto *option = placed(new QRadioButton(name, fraScale),
                              QString("optScale%1").arg(scale.index),
                              Twips{240, kOptionTops[std::size_t(scale.index - 1)],
                                    name.size() > 1 ? 625 : 492, 252});
        option->setProperty("Tag", name);
        option->setToolTip(QString("Select %1 Scale").arg(name));
        // A lone letter says little when read aloud.
        option->setAccessibleName(QString("%1 scale").arg(name));
        optScale->addButton(option, scale.index);
    }

    makeLabel("Label4",
              "Enter the total footage of track in each category (using actual feet):",
              Twips{240, 360, 1935, 615}, fraTrack, Wrap::AtWords);
    // The labels name their boxes for screen readers; they carry no access keys.
    makeLabel("Label1", "Passing Track:", Twips{240, 1200, 1215, 255}, fraTrack)
        ->setBuddy(txtPassTrack);
    makeLabel("Label2", "Functional Track:", Twips{240, 1680, 1335, 255}, fraTrack)
        ->setBuddy(txtFuncTrack);
    makeLabel("Label3", "Storage Track:", Twips{240, 2160, 1335, 255}, fraTrack)
        ->setBuddy(txtStorTrack);

    makeLabel("Label13", "Enter quantity of each car length:", Twips{240, 360, 2535, 255},
              fraRollStk);
    for (std::size_t i = 0; i < kCarClasses.size(); ++i)
        makeLabel(QString("Label%1").arg(i + 5), QString("%1'").arg(kCarClasses[i].lengthFeet),
                  Twips{columnLeft(i, 240, 1680), kRowTops[i % 4], 255, 255}, fraRollStk);

    makeLabel("Label14",
              "The analysis follows a published rule of thumb for estimating how many cars a "
              "model railroad can operate on the trackage it has. Use its figures as a guide "
              "for planning operating sessions.",
              Twips{240, 3000, 3975, 855}, this, Wrap::AtWords);
    auto *label15 = makeLabel("Label15", " ", Twips{0, 3840, 7575, 255}, this);
    label15->setToolTip("Estimates only: what a layout really handles depends on how it is run.");
    // The strip shows nothing; a screen reader gives its notice, as the mouse does.
    label15->setAccessibleName(label15->toolTip());

    // Keyboard order: the scale group, the three boxes, Analyze, Exit, the counters.
    QList<QWidget *> order;
    for (QAbstractButton *option : optScale->buttons())
        order << option;
    order << txtPassTrack << txtFuncTrack << txtStorTrack << cmdAnalyze << cmdExit;
    for (UpDown *upDown : udNoCars)
        order << upDown;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(optScale, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            optScale_Click(id);
    });
    txtPassTrack->setKeyPressHandler([this](char16_t &key) { txtPassTrack_KeyPress(key); });
    txtFuncTrack->setKeyPressHandler([this](char16_t &key) { txtFuncTrack_KeyPress(key); });
    txtStorTrack->setKeyPressHandler([this](char16_t &key) { txtStorTrack_KeyPress(key); });
    connect(txtPassTrack, &EntryBox::lostFocus, this, &frmInput::txtPassTrack_LostFocus);
    connect(txtFuncTrack, &EntryBox::lostFocus, this, &frmInput::txtFuncTrack_LostFocus);
    connect(txtStorTrack, &EntryBox::lostFocus, this, &frmInput::txtStorTrack_LostFocus);
    for (std::size_t i = 0; i < udNoCars.size(); ++i)
        connect(udNoCars[i], &QSpinBox::valueChanged, lblNoCars[i],
                [count = lblNoCars[i]](int value) { showCount(count, value); });
    connect(cmdAnalyze, &QPushButton::clicked, this, &frmInput::cmdAnalyze_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmInput::cmdExit_Click);

    Form_Load();
    // The window opens with the focus on its first stop, the selected scale.
    optScale->checkedButton()->setFocus();

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect centred = frameGeometry();
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }
}

void frmInput::Form_Load()
{
    setWindowTitle(kCaption);
    // Checking the option in code runs optScale_Click, as a click would.
    optScale->button(kDefaultScaleIndex)->setChecked(true);
    fillCarFactors(m_session);
}

void frmInput::optScale_Click(int index)
{
    if (blockedByModalWindow(*this)) {
        // The open window shows results for the scale chosen before; keep its option.
        for (QAbstractButton *option : optScale->buttons())
            if (option->property("Tag").toString().toStdString() == m_session.strScale)
                option->setChecked(true);
        return;
    }
    // The scale table's name is the option's tag: both strScale and sngCarsPerFoot come
    // from the row of the chosen index.
    selectScale(m_session, index);
}

void frmInput::footageKeyPress(char16_t &keyAscii)
{
    if (keyAscii < u'0' || keyAscii > u'9') {
        keyAscii = 0;
        systemBeep();
    }
}

void frmInput::txtPassTrack_KeyPress(char16_t &keyAscii)
{
    footageKeyPress(keyAscii);
}

void frmInput::txtFuncTrack_KeyPress(char16_t &keyAscii)
{
    footageKeyPress(keyAscii);
}

void frmInput::txtStorTrack_KeyPress(char16_t &keyAscii)
{
    footageKeyPress(keyAscii);
}

void frmInput::commitFootage(EntryBox &box, std::int16_t &field)
{
    // Setting the text, even unchanged, also ends the box's undo history, which would
    // otherwise grow with every footage typed in a long session.
    box.setText(fromStd(trelvane::commitFootage(box.text().toStdString(), field)));
}

void frmInput::txtPassTrack_LostFocus()
{
    commitFootage(*txtPassTrack, m_session.intPassTrack);
}

void frmInput::txtFuncTrack_LostFocus()
{
    commitFootage(*txtFuncTrack, m_session.intFuncTrack);
}

void frmInput::txtStorTrack_LostFocus()
{
    commitFootage(*txtStorTrack, m_session.intStorTrack);
}

CarCounts frmInput::carCounts() const
{
    CarCounts counts{};
    for (std::size_t i = 0; i < udNoCars.size(); ++i)
        counts[i] = udNoCars[i]->value();
    return counts;
}

void frmInput::cmdAnalyze_Click()
{
    // One results window (or failure message) at a time.
    if (blockedByModalWindow(*this))
        return;
    // A press that leaves the focus in a box, or a footage an assistive tool put in one,
    // still analyses what the boxes show.
    leaveEntryBoxes(*this);

    const AnalysisOutcome outcome =
        Analyze(m_session, carCounts(), QLocale().decimalPoint().toStdString());
    if (const auto *kind = std::get_if<FailureKind>(&outcome)) {
        showFailure(*kind);
        return;
    }
    try {
        ShowAnswers(std::get<AnalysisResult>(outcome));
    } catch (...) {
        showFailure(FailureKind::Undetermined);
    }
}

void frmInput::ShowAnswers(const AnalysisResult &result)
{
    frmAnswers answers(m_session, this);
    const ResultCaptions captions = resultCaptions(result);
    answers.lblPassSug->setText(fromStd(captions.passSug));
    answers.lblFuncStatus->setText(fromStd(captions.funcStatus));
    answers.lblFuncSug->setText(fromStd(captions.funcSug));
    answers.lblStorStatus->setText(fromStd(captions.storStatus));
    answers.lblStorSug->setText(fromStd(captions.storSug));
    answers.lblBasis->setText(fromStd(captions.basis));
    answers.lblHvy->setText(fromStd(captions.hvy));
    answers.lblMed->setText(fromStd(captions.med));
    answers.lblLite->setText(fromStd(captions.lite));
    answers.lblWarn->setVisible(functionalTrackageSaturated(m_session.intFuncPct));
    answers.exec();
}

void frmInput::showFailure(FailureKind kind)
{
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kFailureTitle.data(),
                                                            qsizetype(kFailureTitle.size())),
                    fromStd(failureMessage(kind)), QMessageBox::Ok, this);
    box.setObjectName("failureMessage");
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void frmInput::cmdExit_Click()
{
    // Leaving under an open results window would strand it without its owner.
    if (blockedByModalWindow(*this))
        return;
    close();
}

void frmInput::closeEvent(QCloseEvent *event)
{
    event->accept();
    // The input window is the program: once it goes, nothing is left to run.
    QCoreApplication::quit();
}

void Main(stdGeneral &session)
{
    // The desktop matches the windows to the installed entry and its icon by this name.
    QGuiApplication::setDesktopFileName(kDesktopId);
    installHelpKey();
    installWindowScaling();
    installAccessibility();
    // No owner: the window deletes itself when closed, and the program ends with it.
    auto *input = new frmInput(session);
    input->show();
}

} // namespace trelvane
