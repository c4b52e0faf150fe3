// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "Form1.h"

#include "ChoiceList.h"
#include "CommandButton.h"
#include "DisplayBox.h"
#include "Square.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <optional>

namespace vantoke {

namespace {

// The layout is designed in twips; 15 make one device-independent pixel, and Qt scales those
// for high-density screens.
constexpr int kTwipsPerPixel = 15;
constexpr QSize kClientSize(8880 / kTwipsPerPixel, 8490 / kTwipsPerPixel);
constexpr QRgb kTeal = qRgb(0, 192, 192);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kGrey = qRgb(192, 192, 192);
constexpr std::optional<QRgb> kDefault;

enum class Kind { Square, Button, TextBox, Label, List };

struct ControlSpec
{
    const char *name;
    Kind kind;
    const char *caption; // a button's or label's caption; a list's items, separated by '|'
    int left, top, width, height; // twips, from the client area's top left corner
    std::optional<QRgb> background; // kDefault keeps the style's colour
    int slot; // a square's number, or a text box's Display
    const char *buddy; // the control a label names
};

constexpr int slotOf(Display display)
{
    return static_cast<int>(display);
}

// The window's controls, in tab order. Creating them in this order makes Qt's focus chain
// follow it; labels never take focus and are skipped.
const ControlSpec kControls[] = {
    {"pct1", Kind::Square, "", 2040, 4440, 1095, 1095, kRed, 1, nullptr},
    {"pct2", Kind::Square, "", 3840, 4440, 1095, 1095, kRed, 2, nullptr},
    {"pct3", Kind::Square, "", 5640, 4440, 1095, 1095, kRed, 3, nullptr},
    {"cmdStart", Kind::Button, "Start", 3960, 2880, 855, 495, kGrey, 0, nullptr},
    {"txtTime", Kind::TextBox, "", 6120, 1440, 735, 615, kDefault, slotOf(Display::Time), nullptr},
    {"txtPoints", Kind::TextBox, "", 1920, 1440, 735, 615, kDefault, slotOf(Display::Points), nullptr},
    {"pct4", Kind::Square, "", 2040, 6240, 1095, 1095, kRed, 4, nullptr},
    {"pct5", Kind::Square, "", 3840, 6240, 1095, 1095, kRed, 5, nullptr},
    {"pct6", Kind::Square, "", 5640, 6240, 1095, 1095, kRed, 6, nullptr},
    {"lbl1", Kind::Label, "Points", 2040, 1080, 495, 255, kRed, 0, "txtPoints"},
    {"lbl2", Kind::Label, "Time Elapsed", 6000, 1080, 975, 255, kRed, 0, "txtTime"},
    {"lst1", Kind::List, "Medium|Hard|Insane", 3960, 1080, 855, 645, kDefault, 0, nullptr},
    {"lbl3", Kind::Label, "Difficulty", 3960, 720, 855, 255, kRed, 0, "lst1"},
    {"txtPercent", Kind::TextBox, "", 840, 2760, 855, 615, kDefault, slotOf(Display::Percent), nullptr},
    {"txtSquares", Kind::TextBox, "", 7080, 2760, 855, 615, kDefault, slotOf(Display::Squares), nullptr},
    {"lbl4", Kind::Label, "Percent Hit", 840, 2400, 855, 255, kRed, 0, "txtPercent"},
    {"lbl5", Kind::Label, "Squares", 7080, 2400, 855, 255, kRed, 0, "txtSquares"},
};

QRect pixelRect(const ControlSpec &row)
{
    return QRect(
        row.left / kTwipsPerPixel, row.top / kTwipsPerPixel, row.width / kTwipsPerPixel, row.height / kTwipsPerPixel);
}

void fillBackground(QWidget *widget, QRgb colour)
{
    QPalette palette = widget->palette();
    palette.setColor(widget->backgroundRole(), QColor(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// A text that must show whole in a box of the given size.
struct Fit
{
    QString text;
    QSize box;
};

// The design's controls were sized for a smaller font than today's desktop default. Gives the
// largest font, `font` or smaller but never below 6 points, at which every text fits whole.
QFont fittingFont(QFont font, const QList<Fit> &fits)
{
    auto fitsAll = [&fits](const QFontMetrics &metrics) {
        for (const Fit &fit : fits) {
            if (metrics.horizontalAdvance(fit.text) > fit.box.width() || metrics.height() > fit.box.height())
                return false;
        }
        return true;
    };
    while (!fitsAll(QFontMetrics(font)) && font.pointSizeF() > 6.0)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    return font;
}

// All items show whole and at once, so a click on any of them selects it rather than scrolling.
void fitListRows(QListWidget *list)
{
    const QRect inner = list->contentsRect();
    const QSize row(inner.width(), inner.height() / list->count());
    QList<Fit> fits;
    for (int index = 0; index < list->count(); ++index) {
        fits.append({list->item(index)->text(), row - QSize(4, 0)});
        list->item(index)->setSizeHint(row);
    }
    list->setFont(fittingFont(list->font(), fits));
}

// The labels share one font, the largest at which every caption fits its label.
void fitLabels(const QList<QLabel *> &labels)
{
    QList<Fit> fits;
    for (const QLabel *label : labels)
        fits.append({label->text(), label->size()});
    const QFont font = fittingFont(labels.first()->font(), fits);
    for (QLabel *label : labels)
        label->setFont(font);
}

// The four boxes share one font, the largest at which the widest texts a game writes, a time
// past ten seconds and a full score, show whole.
void fitDisplays(const std::array<QLineEdit *, 4> &boxes)
{
    QLineEdit *time = boxes.at(slotOf(Display::Time));
    QLineEdit *percent = boxes.at(slotOf(Display::Percent));
    auto inner = [](QLineEdit *box) {
        // The style's frame on each side, and the line edit's own two-pixel margin inside it.
        const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box);
        return box->size() - QSize(2 * frame + 5, 2 * frame);
    };
    const QFont font = fittingFont(
        time->font(), {{QStringLiteral("14.25781"), inner(time)}, {QStringLiteral("100.00%"), inner(percent)}});
    for (QLineEdit *box : boxes)
        box->setFont(font);
}

} // namespace

Form1::Form1(RuntimeServices &runtime, QWidget *parent)
    : QWidget(parent)
    , m_game(runtime, *this)
{
    setWindowTitle(QStringLiteral("Vantoke"));
    setObjectName(QStringLiteral("Form1"));
    resize(kClientSize);
    fillBackground(this, kTeal);
    buildControls();
    m_start->setFocus();
}

void Form1::buildControls()
{
    for (const ControlSpec &row : kControls) {
        const QString caption = QString::fromLatin1(row.caption);
        QWidget *control = nullptr;
        switch (row.kind) {
        case Kind::Square: {
            auto *square = new Square(row.slot, this);
            connect(square, &Square::pressed, this, &Form1::squareClicked);
            m_squares.at(row.slot - 1) = square;
            control = square;
            break;
        }
        case Kind::Button:
            m_start = new CommandButton(caption, this);
            connect(m_start, &QPushButton::clicked, this, &Form1::startClicked);
            control = m_start;
            break;
        case Kind::TextBox: {
            auto *box = new DisplayBox(this);
            m_displays.at(row.slot) = box;
            control = box;
            break;
        }
        case Kind::Label: {
            auto *label = new QLabel(caption, this);
            label->setAlignment(Qt::AlignCenter);
            label->setFocusPolicy(Qt::NoFocus);
            control = label;
            break;
        }
        case Kind::List:
            m_difficulty = new ChoiceList(this);
            m_difficulty->addItems(caption.split(QLatin1Char('|')));
            m_difficulty->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            m_difficulty->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            connect(m_difficulty, &QListWidget::itemSelectionChanged, this, [this] {
                if (!m_difficulty->selectedItems().isEmpty())
                    Q_EMIT difficultyClicked();
            });
            control = m_difficulty;
            break;
        }
        control->setObjectName(QString::fromLatin1(row.name));
        control->setGeometry(pixelRect(row));
        if (row.background)
            fillBackground(control, *row.background);
    }

    // Labels name their boxes once every control exists.
    QList<QLabel *> labels;
    for (const ControlSpec &row : kControls) {
        if (row.kind != Kind::Label)
            continue;
        auto *label = findChild<QLabel *>(QString::fromLatin1(row.name));
        auto *buddy = findChild<QWidget *>(QString::fromLatin1(row.buddy));
        label->setBuddy(buddy);
        // Not every accessible interface looks for a buddy (item views don't), so say it too.
        buddy->setAccessibleName(label->text());
        labels.append(label);
    }
    fitLabels(labels);
    fitListRows(m_difficulty);
    fitDisplays(m_displays);
}

void Form1::load()
{
    Q_EMIT loaded();
}

void Form1::setSquareVisible(int square, bool visible)
{
    m_squares.at(square - 1)->setVisible(visible);
}

void Form1::setDisplayText(Display display, const QString &text)
{
    // A turn writes most boxes more than once, often with the text they already show; only a
    // change needs repainting.
    QLineEdit *box = m_displays.at(slotOf(display));
    if (box->text() != text)
        box->setText(text);
}

void Form1::lockDisplay(Display display)
{
    m_displays.at(slotOf(display))->setReadOnly(true);
}

void Form1::refreshPercent()
{
    m_displays.at(slotOf(Display::Percent))->repaint();
}

QString Form1::difficultyText()
{
    const QList<QListWidgetItem *> selected = m_difficulty->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

bool Form1::focusNextPrevChild(bool next)
{
    if (!QWidget::focusNextPrevChild(next))
        return false;
    // Qt has announced the new focus by now; a box's selection and the list's choice follow it.
    if (auto *box = qobject_cast<DisplayBox *>(focusWidget()))
        box->selectOnTab();
    else if (focusWidget() == m_difficulty)
        m_difficulty->announceChoice();
    return true;
}

void Form1::closeEvent(QCloseEvent *event)
{
    m_game.stop();
    QWidget::closeEvent(event);
}

} // namespace vantoke
