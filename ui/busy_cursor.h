#pragma once

#include <QApplication>
#include <QCursor>

namespace vlp::ui {

// The hourglass for the length of a scope; the previous cursor comes back however the scope
// is left, exceptions included.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace vlp::ui
