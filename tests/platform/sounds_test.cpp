// The sounds: libcanberra is loaded only when the first sound plays, and then
// plays it (through an ALSA configuration that writes what it plays to a
// WAV file instead of a sound card).

#include "platform/qt/QtPlatform.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <dlfcn.h>

namespace {

bool CanberraLoaded()
{
    void *library = dlopen("libcanberra.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (library)
        dlclose(library);
    return library != nullptr;
}

// HOME for the test's length: ALSA reads ~/.asoundrc.
class ScopedHome
{
public:
    explicit ScopedHome(const QString &home) : m_old(qgetenv("HOME")) { qputenv("HOME", QFile::encodeName(home)); }
    ~ScopedHome() { qputenv("HOME", m_old); }
    ScopedHome(const ScopedHome &) = delete;
    ScopedHome &operator=(const ScopedHome &) = delete;

private:
    QByteArray m_old;
};

} // namespace

TEST(QtSounds, TheLibraryIsLoadedByTheFirstSoundWhichPlays)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString wav = home.filePath(QStringLiteral("played.wav"));
    QFile config(home.filePath(QStringLiteral(".asoundrc")));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(QByteArrayLiteral("pcm.!default { type file slave.pcm \"null\" file \"") + QFile::encodeName(wav)
                 + QByteArrayLiteral("\" format \"wav\" }\n"));
    config.close();
    const ScopedHome scopedHome(home.path());

    {
        ralvo::platform::QtSounds sounds;
        EXPECT_FALSE(CanberraLoaded()) << "loaded before any sound";
        sounds.Exclamation();
        EXPECT_TRUE(CanberraLoaded());
        // The sound is written while it plays; the header alone is 44 bytes.
        const QDeadlineTimer deadline(std::chrono::seconds(20));
        while (QFileInfo(wav).size() <= 44 && !deadline.hasExpired())
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!QFileInfo::exists(wav))
        GTEST_SKIP() << "no ALSA output here (libasound's file plug-in or the sound theme missing)";
    EXPECT_GT(QFileInfo(wav).size(), 44);
}
