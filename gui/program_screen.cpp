// The main window on screens of every size.
//
// The client area is laid out in fixed pixels, 1020 × 739, and cannot shrink. With its menu
// and status bars and the window frame it needs about 1020 × 800 pixels: more than a 1366 × 768
// laptop offers, and more than a 1920 × 1080 screen offers at 150 % scaling (1280 × 720
// logical pixels). There the client area goes into a scroll area and the window takes the
// screen's available size; Start and every field stay reachable. Where the window fits,
// nothing changes: no scroll area, a fixed size.
#include <QApplication>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QWindow>

#include "gui/program_window.h"
#include "gui/screen_room.h"

namespace tesmo::qt {

QSize ProgramWindow::naturalSize() const {
    const int width = frm_TesmoGegen::kClientWidth;
    return {width, menuBar()->heightForWidth(width) + frm_TesmoGegen::kClientHeight +
                       statusBar()->sizeHint().height()};
}

void ProgramWindow::fitToScreen(const QRect& available) {
    const QSize natural = naturalSize();
    const QSize room = screenRoom(*this, available);
    const bool fits = natural.width() <= room.width() && natural.height() <= room.height();
    if (fits && !scroll_) return;
    // Moving the client area to another parent hides it and drops the keyboard focus.
    QWidget* focus = QApplication::focusWidget();
    if (focus && !client_->isAncestorOf(focus)) focus = nullptr;

    if (fits) {
        // Back to the bare client area (another screen, or the screen grew).
        takeCentralWidget();
        scroll_->takeWidget();
        delete scroll_;
        scroll_ = nullptr;
        setCentralWidget(client_);
        client_->show();
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    } else if (!fits) {
        if (!scroll_) {
            takeCentralWidget();  // the client area, which the scroll area takes over
            scroll_ = new QScrollArea;
            scroll_->setObjectName(QStringLiteral("rollbereich"));
            scroll_->setFrameShape(QFrame::NoFrame);
            scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            scroll_->setWidgetResizable(false);
            scroll_->setWidget(client_);
            client_->show();
            setCentralWidget(scroll_);
            layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
        }
        // At most the size at which neither scroll bar is needed; at least enough to hold the
        // buttons of the bars and a part of the client area.
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_);
        const QSize largest = natural + QSize(bar, bar);
        setMinimumSize(400, 300);
        setMaximumSize(largest);
        resize(largest.boundedTo(room));
        // The whole frame on the available area, where the window manager lets it be placed.
        if (isVisible() && !available.contains(frameGeometry())) move(available.topLeft());
    }
    if (focus) focus->setFocus(Qt::OtherFocusReason);
}

void ProgramWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (fittedOnce_) return;
    fittedOnce_ = true;
    if (QScreen* s = screen()) fitToScreen(s->availableGeometry());
    // Moved to another screen: fitted to that one.
    if (QWindow* handle = windowHandle())
        connect(handle, &QWindow::screenChanged, this, [this](QScreen* s) {
            if (s) fitToScreen(s->availableGeometry());
        });
}

}  // namespace tesmo::qt
