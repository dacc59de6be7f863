#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Files and the environment as tests of every layer set them up and read them back.
namespace velloran::testing {

QByteArray readBytes(const QString& path);  // empty when it cannot be read
bool writeBytes(const QString& path, const QByteArray& bytes);
bool setModified(const QString& path, const QDateTime& when);

// A read that would wait for ever fails the test after its own time instead of hanging it.
class HangGuard {
public:
    explicit HangGuard(unsigned seconds);
    ~HangGuard();
};

// Sets an environment variable for the life of the object, then puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value);
    ~ScopedEnv();

private:
    const char* m_name;
    QByteArray m_old;
    bool m_had;
};

}  // namespace velloran::testing
