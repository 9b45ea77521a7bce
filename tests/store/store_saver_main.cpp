// Helper of the crash-safety test: saves the store at the given path over and
// over, each time with the next generation number and a large filler whose
// every character is derived from that number, until it is killed.

#include "store/SettingsStore.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

using ralvo::store::SettingsStore;

int main(int argc, char **argv)
{
    if (argc != 3)
        return 64;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int fillerSize = std::atoi(argv[2]);
    SettingsStore store = SettingsStore::Open(path);
    if (!store.TakeProblemReport().isEmpty())
        return 3; // the file on disk was torn
    auto key = store.OpenKeyForWriting(QStringLiteral("\\Test"));
    const auto stored = key->Value(QStringLiteral("Generation"));
    for (int generation = stored ? stored->integer() + 1 : 0;; ++generation) {
        key->WriteInteger(QStringLiteral("Generation"), generation);
        key->WriteText(QStringLiteral("Filler"), QString(fillerSize, QChar(u'a' + generation % 26)));
        if (!store.Save())
            return 2;
        std::printf("%d\n", generation);
        std::fflush(stdout);
    }
}
