// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TScrollingCredits: a panel of centred text lines that scroll upwards, one pixel per tick.
// Each line may carry a little mark-up (see CreditLine.h) that makes the whole line bold,
// italic, underlined or coloured. The panel paints into an off-screen image of its own size
// and copies it to the screen in one step, and each tick repaints only this control.

#include "about/CreditsFont.h"
#include "chess/Object.h"

#include <QImage>
#include <QStaticText>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

using TCreditEvent = std::function<void(TObject* Sender, const QString& CreditText)>;
using TNotifyEvent = std::function<void(TObject* Sender)>;

class TScrollingCredits : public QWidget, public TObject {
public:
    // Top margin of the text when it stands still.
    static constexpr int StaticTopMargin = 4;

    explicit TScrollingCredits(QWidget* parent = nullptr);

    // --- Events, raised only when assigned; Sender is this control.
    // A line has come into view for the first time in this pass (text without mark-up).
    TCreditEvent OnShowCredit;
    // The last line has left the top; the next pass starts from the bottom edge.
    TNotifyEvent AfterLastCredit;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

    // --- Published properties.
    const QStringList& Credits() const { return Credits_; }
    void SetCredits(const QStringList& v);
    const TCreditsFont& CreditsFont() const { return CreditsFont_; }
    void SetCreditsFont(const TCreditsFont& v);
    QColor BackgroundColor() const { return BackgroundColor_; }
    void SetBackgroundColor(const QColor& v);
    QColor BorderColor() const { return BorderColor_; }
    void SetBorderColor(const QColor& v);
    bool Animate() const { return Animate_; }
    void SetAnimate(bool v);
    // Period of the scroll timer in milliseconds; zero or less holds the timer still.
    int Interval() const { return Interval_; }
    void SetInterval(int v);
    bool Visible() const { return Visible_; }
    void SetVisible(bool v) { setVisible(v); }
    const QImage& BackgroundImage() const { return BackgroundImage_; }
    void SetBackgroundImage(const QImage& v);
    bool ShowBorder() const { return ShowBorder_; }
    void SetShowBorder(bool v);

    // Every way of showing or hiding the control goes through here, so that `Visible`
    // restarts the pass and starts or stops the timer whichever way it is set.
    void setVisible(bool visible) override;

    // True exactly while the control is visible and animated (with a usable interval).
    bool TimerActive() const { return Timer_.isActive(); }
    // What the scroll timer does on each tick: one pixel up, or the next pass after the
    // last line has gone. Public so that tools and tests can step the scroll.
    void ScrollTick();

    // Distance from the top of one line to the top of the next: the height of the font.
    int LinePitch() const;

    // The default text: one line for each kind of mark-up.
    static QStringList DemonstrationText();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void RestartPass(qint64 offset);
    void UpdateTimer();
    void RepaintNow();
    // Paints the whole control into Buffer_ and answers the lines seen for the first time in
    // this pass, in order; the caller raises OnShowCredit for them once painting is over.
    QStringList RenderBuffer();
    // One line with its mark-up read and its text laid out in its font, kept until the text
    // or the font changes, so that a tick only places glyphs already shaped.
    struct TLaidLine {
        bool Ready = false;
        QString Text;
        QFont Font;
        QColor Color;
        QStaticText Layout;
        int Width = 0;
        // The line drawn on the background colour across the whole width, one pitch high,
        // while it is in view; a tick then copies pixels instead of blending glyphs.
        QImage Strip;
    };
    TLaidLine& Laid(qsizetype k);
    void ForgetLayout();
    void DrawLine(class QPainter& p, qsizetype k, int y, bool strips);
    // Frees the strips of lines outside [first, last] so that only lines in view hold one.
    void DropStripsOutside(qsizetype first, qsizetype last);

    QStringList Credits_;
    TCreditsFont CreditsFont_ = TCreditsFont::Default();
    QColor BackgroundColor_ = Qt::black;
    QColor BorderColor_ = Qt::white;
    bool Animate_ = false;
    int Interval_ = 50;
    bool Visible_ = true;
    QImage BackgroundImage_;
    bool ShowBorder_ = true;

    // Vertical position of the first line while animated, in pixels from the top.
    qint64 Offset_ = 0;
    // Highest line index reported through OnShowCredit in this pass, -1 when none.
    qsizetype Reported_ = -1;
    std::vector<TLaidLine> Laid_;
    // Lines that hold a strip, and what the strips were drawn for.
    std::vector<qsizetype> StripLines_;
    QSize StripSize_;
    QColor StripBackground_;
    QImage Buffer_;
    QTimer Timer_;
    bool InPaint_ = false;
    bool Pressed_ = false;
};
