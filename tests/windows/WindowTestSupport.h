#pragma once

#include "engine/Clock.h"
#include "engine/RandomDraw.h"

#include <QStringList>
#include <QTemporaryDir>

// What every window test needs: a fresh appDir, a fixed clock and draw, recorded messages
// instead of modal boxes, and a lock file of its own.
class WindowTestEnvironment {
public:
    WindowTestEnvironment();
    ~WindowTestEnvironment();

    QString appDir() const { return m_dir.path(); }
    QByteArray readFile(const QString& relativePath) const;
    void writeFile(const QString& relativePath, const QByteArray& bytes) const;

    FixedClock clock;
    FixedDraw draw{50};
    QStringList messages;

private:
    QTemporaryDir m_dir;
};

// Closes and deletes every top-level window left over from a test.
void closeAllWindows();
