#pragma once

// The per-user settings store: a small hierarchical store of typed values in
// place of the registry's current-user part. Keys are addressed by absolute
// path ("\Software\Quenda\Ralvo\2.0\SetData"); key paths and value names
// compare case-insensitively. Values are text, 32-bit integers, or any other
// kind (binary data, 64-bit numbers, ...), which is kept exactly as found.
//
// On disk the store is one human-readable JSON file per user,
// $XDG_CONFIG_HOME/ralvo/settings.json (~/.config/ralvo/settings.json when
// XDG_CONFIG_HOME is unset):
//
//   { "format": "ralvo-settings", "version": 1,
//     "keys": { "\\Software\\Quenda\\Ralvo\\2.0\\SetData": {
//                   "Tit": "??さんの出産までのスケジュール",   <- text
//                   "Yoshi": 2,                               <- integer
//                   "Blob": { "kind": "binary", "data": "0a0b0c0d0e" } } } }
//
// The whole file is read once when the store is opened; changes stay in
// memory until Save(), which replaces the file atomically (temporary file,
// flushed to disk, renamed), so the file on disk is always a complete old or
// new store. A file that cannot be read or parsed is moved aside under a new
// name (never overwritten) and the store starts empty.

#include <QByteArray>
#include <QHash>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace ralvo::store {

// One stored value.
class StoredValue
{
public:
    enum class Kind { Text, Integer, Other };

    static StoredValue Text(const QString &text);
    static StoredValue Integer(qint32 value);
    // A value of another kind, kept as found in the file (`raw`), whose data
    // takes `dataSize` bytes. A number in the file that no double can hold
    // (1e400) is of this kind with no data: reading it as a text or an
    // integer finds the wrong type, and it is saved back as it was written.
    static StoredValue Other(const QJsonValue &raw, qsizetype dataSize);

    Kind kind() const { return m_kind; }
    const QString &text() const { return m_text; } // Text only
    qint32 integer() const { return m_integer; }   // Integer only
    // Other only. An object or array read from a file is kept as its text
    // and made a QJsonValue only here, when asked.
    QJsonValue raw() const;
    // Size of the value's data as the registry counts it: 4 for an integer,
    // the code page 932 bytes plus the terminating NUL for a text, the data
    // bytes of any other kind.
    qsizetype dataSize() const { return m_dataSize; }

    friend bool operator==(const StoredValue &, const StoredValue &) = default;

private:
    friend class SettingsStore;

    Kind m_kind = Kind::Text;
    QString m_text;
    qint32 m_integer = 0;
    QJsonValue m_raw;
    qsizetype m_dataSize = 1;
    QByteArray m_source; // Other: its JSON text as found in the file, when read from one
};

class SettingsStore;

// A key opened for reading or for writing. Cheap to copy; valid while its
// store lives. Closing is letting it go.
class SettingsKey
{
public:
    const QString &path() const { return m_path; }
    bool isWritable() const { return m_writable != nullptr; }

    // The value of that name, compared case-insensitively; empty when missing.
    std::optional<StoredValue> Value(const QString &name) const;
    // The value names in the order they were first written (or found).
    QStringList ValueNames() const;

    // False when the store refuses the value (key opened for reading, store
    // read-only). A value of the same name is replaced, keeping its name.
    bool WriteText(const QString &name, const QString &text);
    bool WriteInteger(const QString &name, qint32 value);

private:
    friend class SettingsStore;
    SettingsKey(const SettingsStore *store, SettingsStore *writable, QString path)
        : m_store(store), m_writable(writable), m_path(std::move(path))
    {}
    bool Write(const QString &name, const StoredValue &value);

    const SettingsStore *m_store;
    SettingsStore *m_writable;
    QString m_path;
};

// The largest store file read; a real one takes a few kilobytes.
inline constexpr qint64 kMaxStoreFileBytes = 64 * 1024 * 1024;

class SettingsStore
{
public:
    enum class Access {
        ReadWrite, // the application: may save, moves a damaged file aside
        ReadOnly,  // tools: never writes or moves anything on disk
    };

    // The user's store file: $XDG_CONFIG_HOME/ralvo/settings.json.
    static QString UserStorePath();
    // Opens the user's store (the application and the command-line tool).
    static SettingsStore OpenUserStore(Access access);
    // Opens the store kept in `filePath` (tests point this at a temporary
    // file). A missing file is an empty store; an unreadable or damaged one
    // is moved aside (ReadWrite) and the store starts empty, with a problem
    // report for the user.
    static SettingsStore Open(const QString &filePath, Access access = Access::ReadWrite);
    // A store that lives only in memory and cannot be saved.
    static SettingsStore InMemory();

    const QString &filePath() const { return m_filePath; }
    Access access() const { return m_access; }

    // The Japanese text telling the user which file could not be read and
    // where its copy was put; empty when there was no problem. Given once:
    // later calls return an empty text.
    QString TakeProblemReport();

    // Opens an existing key for reading; empty when it does not exist. A key
    // exists when it was created or when any key below it exists.
    std::optional<SettingsKey> OpenKeyForReading(const QString &path) const;
    // Opens a key for writing, creating it (and so its parents) when absent.
    // Empty when the path is malformed or the store is read-only.
    std::optional<SettingsKey> OpenKeyForWriting(const QString &path);

    // Every key that holds values or was created, in order of creation.
    QStringList KeyPaths() const;

    // Writes the whole store to its file atomically, creating the folder
    // when needed. False when it cannot be written (read-only access, no
    // file, a damaged file that could not be moved aside, a write error);
    // the file on disk is then unchanged.
    bool Save(QString *errorText = nullptr);

    // Whether the file now differs from what this store last read or saved
    // (another window saved it in between). False for a store without file.
    bool ChangedOnDiskSinceRead() const;

    // The file form of the store, and the reverse (tools and tests).
    QByteArray ToJson() const;
    // Empty when `json` is not a store file; `error` says why.
    static std::optional<SettingsStore> FromJson(const QByteArray &json, QString *error = nullptr);

private:
    friend class SettingsKey;
    struct Entry
    {
        QString name;
        StoredValue value;
    };
    struct Key
    {
        QString path;
        QList<Entry> values;
        // Case-folded name → position in values, made once a key holds
        // kIndexedValues values (a small key is looked through: the index
        // would take more memory than its values).
        QHash<QString, qsizetype> index;
        static constexpr qsizetype kIndexedValues = 8;

        const Entry *Find(const QString &name) const;
        Entry *Find(const QString &name);
        void Append(const QString &name, const StoredValue &value);
    };

    SettingsStore() = default;
    const Key *FindKey(const QString &path) const;
    Key *FindKey(const QString &path);
    Key &AppendKey(const QString &path);

    QString m_filePath;
    Access m_access = Access::ReadWrite;
    bool m_saveBlocked = false; // a damaged file stayed where the save would go
    QString m_problem;
    QList<Key> m_keys;
    QHash<QString, qsizetype> m_keyIndex; // case-folded path → position in m_keys
    // Digest of the file as last read or saved; empty when there was none.
    QByteArray m_diskDigest;
};

// A key path in its canonical form ("\A\B"): leading backslash, single
// separators, no trailing one. Empty when the path is malformed.
QString CanonicalKeyPath(const QString &path);

} // namespace ralvo::store
