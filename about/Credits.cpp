// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/Credits.h"

#include "about/CreditLine.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

TCreditsFont TCreditsFont::Default() {
    TCreditsFont f;
    f.Font = QFont("Tahoma");
    f.Font.setStyleHint(QFont::SansSerif);
    f.Font.setPixelSize(10);
    f.Color = Qt::white;
    return f;
}

TScrollingCredits::TScrollingCredits(QWidget* parent) : QWidget(parent) {
    // Every pixel comes from the off-screen image, so nothing beneath needs painting first
    // and a tick repaints this control alone.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    resize(305, 201);
    Credits_ = DemonstrationText();
    // A precise timer keeps the one-pixel steps evenly spaced, so the scroll looks smooth.
    Timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&Timer_, &QTimer::timeout, this, &TScrollingCredits::ScrollTick);
    RestartPass(LinePitch() + height());
}

QStringList TScrollingCredits::DemonstrationText() {
    return {
        "Scrolling credits",
        "&bThis line is bold",
        "&iThis line is italic",
        "&uThis line is underlined",
        "&c255,160,0;This line is orange",
        "Two ampersands show one: &&",
        "An ampersand and a letter vanish: [&q]",
        "A last lone ampersand vanishes: &",
    };
}

int TScrollingCredits::LinePitch() const {
    return std::max(1, QFontMetrics(CreditsFont_.Font).height());
}

void TScrollingCredits::SetCredits(const QStringList& v) {
    Credits_ = v;
    ForgetLayout();
    RepaintNow();
}

void TScrollingCredits::SetCreditsFont(const TCreditsFont& v) {
    CreditsFont_ = v;
    ForgetLayout();
    update();
}

void TScrollingCredits::SetBackgroundColor(const QColor& v) {
    BackgroundColor_ = v;
    update();
}

void TScrollingCredits::SetBorderColor(const QColor& v) {
    BorderColor_ = v;
    update();
}

void TScrollingCredits::SetBackgroundImage(const QImage& v) {
    BackgroundImage_ = v;
    update();
}

void TScrollingCredits::SetShowBorder(bool v) {
    ShowBorder_ = v;
    update();
}

void TScrollingCredits::SetAnimate(bool v) {
    Animate_ = v;
    // Switching on starts one line below the bottom edge, with every line to be reported
    // again; switching off shows the text still from the top margin.
    RestartPass(LinePitch() + height());
    UpdateTimer();
    RepaintNow();
}

void TScrollingCredits::SetInterval(int v) {
    Interval_ = v;
    if (Timer_.isActive()) {
        Timer_.stop();
    }
    UpdateTimer();
}

void TScrollingCredits::setVisible(bool visible) {
    const bool changed = visible != Visible_;
    Visible_ = visible;
    if (changed) {
        RestartPass(height());
    }
    QWidget::setVisible(visible);
    UpdateTimer();
}

void TScrollingCredits::RestartPass(qint64 offset) {
    Offset_ = offset;
    Reported_ = -1;
}

void TScrollingCredits::UpdateTimer() {
    const bool run = Animate_ && Visible_ && Interval_ > 0;
    if (run && !Timer_.isActive()) {
        Timer_.start(Interval_);
    } else if (!run) {
        Timer_.stop();
    }
}

void TScrollingCredits::RepaintNow() {
    // A handler called from the paint may change the text; it gets the next paint instead.
    if (InPaint_) {
        update();
    } else {
        repaint();
    }
}

void TScrollingCredits::ScrollTick() {
    const qint64 h = LinePitch();
    const bool passOver = Offset_ < -(static_cast<qint64>(Credits_.size()) * h);
    if (passOver) {
        RestartPass(height());
    } else {
        --Offset_;
    }
    update();
    // Raised last, after the restart, so that whatever the handler changes stays changed.
    if (passOver && AfterLastCredit) {
        AfterLastCredit(this);
    }
}

TScrollingCredits::TLaidLine& TScrollingCredits::Laid(qsizetype k) {
    if (Laid_.size() != static_cast<size_t>(Credits_.size())) {
        Laid_.assign(Credits_.size(), TLaidLine{});
        StripLines_.clear();
    }
    TLaidLine& l = Laid_[k];
    if (l.Ready) {
        return l;
    }
    const TCreditLine parsed = ParseCreditLine(Credits_[k]);
    // The marks add to the style of the base font.
    l.Font = CreditsFont_.Font;
    if (parsed.Bold) {
        l.Font.setBold(true);
    }
    if (parsed.Italic) {
        l.Font.setItalic(true);
    }
    if (parsed.Underline) {
        l.Font.setUnderline(true);
    }
    l.Text = parsed.Text;
    l.Color = parsed.Color.value_or(CreditsFont_.Color);
    l.Layout = QStaticText(l.Text);
    l.Layout.setTextFormat(Qt::PlainText);
    l.Layout.setPerformanceHint(QStaticText::AggressiveCaching);
    l.Layout.prepare(QTransform(), l.Font);
    l.Width = QFontMetrics(l.Font).horizontalAdvance(l.Text);
    l.Ready = true;
    return l;
}

void TScrollingCredits::DrawLine(QPainter& p, qsizetype k, int y, bool strips) {
    TLaidLine& l = Laid(k);
    if (l.Text.isEmpty()) {
        return;
    }
    // Centred; the line's top is at y.
    const int x = width() / 2 - l.Width / 2;
    if (!strips) {
        p.setFont(l.Font);
        p.setPen(l.Color);
        p.drawStaticText(x, y, l.Layout);
        return;
    }
    if (l.Strip.isNull()) {
        const qreal dpr = Buffer_.devicePixelRatio();
        l.Strip = QImage(StripSize_ * dpr, QImage::Format_RGB32);
        l.Strip.setDevicePixelRatio(dpr);
        l.Strip.fill(StripBackground_);
        QPainter sp(&l.Strip);
        sp.setFont(l.Font);
        sp.setPen(l.Color);
        sp.drawStaticText(x, 0, l.Layout);
        StripLines_.push_back(k);
    }
    p.drawImage(QPoint(0, y), l.Strip);
}

void TScrollingCredits::ForgetLayout() {
    Laid_.clear();
    StripLines_.clear();
}

void TScrollingCredits::DropStripsOutside(qsizetype first, qsizetype last) {
    std::erase_if(StripLines_, [&](qsizetype k) {
        if (k >= first && k <= last) {
            return false;
        }
        Laid_[k].Strip = QImage();
        return true;
    });
}

QStringList TScrollingCredits::RenderBuffer() {
    QStringList shown;
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = size() * dpr;
    if (pixels.isEmpty()) {
        return shown;
    }
    if (Buffer_.size() != pixels) {
        Buffer_ = QImage(pixels, QImage::Format_RGB32);
    }
    Buffer_.setDevicePixelRatio(dpr);

    QPainter p(&Buffer_);
    const QRect all(0, 0, width(), height());
    // The colour is used opaque: the image keeps the last frame, which must not show through.
    const QColor background = QColor::fromRgb(BackgroundColor_.rgb());
    if (BackgroundImage_.isNull() || BackgroundImage_.hasAlphaChannel()) {
        p.fillRect(all, background);
    }
    if (!BackgroundImage_.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(all, BackgroundImage_);
    }

    const qint64 h = LinePitch();
    const qint64 n = Credits_.size();
    // Strips stand on the plain background colour; over a picture each line is drawn afresh.
    const bool strips = BackgroundImage_.isNull();
    const QSize stripSize(width(), static_cast<int>(h));
    if (!strips || stripSize != StripSize_ || background != StripBackground_ ||
        (!StripLines_.empty() &&
         Laid_[StripLines_.front()].Strip.devicePixelRatio() != Buffer_.devicePixelRatio())) {
        DropStripsOutside(0, -1);
        StripSize_ = stripSize;
        StripBackground_ = background;
    }
    qsizetype first = n;
    qsizetype last = -1;
    if (!Animate_) {
        for (qint64 k = 0; k < n; ++k) {
            const qint64 y = StaticTopMargin + k * h;
            if (y >= height()) {
                break;
            }
            DrawLine(p, k, static_cast<int>(y), strips);
            first = std::min<qsizetype>(first, k);
            last = k;
        }
    } else {
        // Lines wholly above the top edge are skipped without looking at them; a line counts
        // as shown once some of its height lies inside the control.
        for (qint64 k = Offset_ < 0 ? -Offset_ / h : 0; k < n; ++k) {
            const qint64 y = Offset_ + k * h;
            if (y >= height()) {
                break;
            }
            if (y + h <= 0) {
                continue;
            }
            DrawLine(p, k, static_cast<int>(y), strips);
            first = std::min<qsizetype>(first, k);
            last = k;
            if (k > Reported_) {
                Reported_ = k;
                shown += Laid(k).Text;
            }
        }
    }

    DropStripsOutside(first, last);

    if (ShowBorder_) {
        p.setPen(QPen(BorderColor_, 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, width() - 1, height() - 1);
    }
    return shown;
}

void TScrollingCredits::paintEvent(QPaintEvent* event) {
    if (!Visible_) {
        return;
    }
    InPaint_ = true;
    const QStringList shown = RenderBuffer();
    {
        QPainter p(this);
        const QRect r = event->rect();
        p.drawImage(r, Buffer_,
                    QRectF(QPointF(r.topLeft()) * Buffer_.devicePixelRatio(),
                           QSizeF(r.size()) * Buffer_.devicePixelRatio()));
    }
    if (OnShowCredit) {
        for (const QString& text : shown) {
            OnShowCredit(this, text);
        }
    }
    InPaint_ = false;
}

void TScrollingCredits::mousePressEvent(QMouseEvent* event) {
    Pressed_ = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

void TScrollingCredits::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = Pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    Pressed_ = false;
    if (click && OnClick) {
        OnClick(this);
    }
}

void TScrollingCredits::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && OnDblClick) {
        OnDblClick(this);
    }
}
