#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <unistd.h>

namespace velloran::session::testing {

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void setModified(const QString& path, const QDateTime& when)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
}

// A read that would wait for ever fails the test after its own time instead of hanging it.
class HangGuard {
public:
    explicit HangGuard(unsigned seconds) { ::alarm(seconds); }
    ~HangGuard() { ::alarm(0); }
};

}  // namespace velloran::session::testing
