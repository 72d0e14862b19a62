#include "app/AfterFirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QObject* context, QWidget* window, std::function<void()> work)
        : QObject(context), m_work(std::move(work)) {
        window->installEventFilter(this);
        QTimer::singleShot(500, this, &FirstPaintWatch::run);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        // Once the paint is done and on the screen, not in the middle of it.
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, this, &FirstPaintWatch::run);
        return false;
    }

private:
    void run() {
        if (!m_work)
            return;
        const std::function<void()> work = std::exchange(m_work, nullptr);
        deleteLater();
        work();
    }

    std::function<void()> m_work;
};

} // namespace

void afterFirstPaint(QObject* context, QWidget* window, std::function<void()> work) {
    new FirstPaintWatch(context, window, std::move(work));
}
