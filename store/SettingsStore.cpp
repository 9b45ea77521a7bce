#include "store/SettingsStore.h"

#include "platform/ShiftJis.h"
#include "store/FileReader.h"
#include "store/FileWriter.h"
#include "store/JsonReader.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStandardPaths>

#include <cmath>
#include <limits>

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace ralvo::store {

namespace {

const QString kFormatName = QStringLiteral("ralvo-settings");
constexpr int kFormatVersion = 1;
// A value in a form the store does not know: never smaller than 5 bytes, so
// reading it as an integer fails like any oversized value.
constexpr qsizetype kUnknownSize = std::numeric_limits<qsizetype>::max();

qsizetype TextDataSize(const QString &text)
{
    return platform::ShiftJisWidth(text) + 1; // the code page 932 bytes and the terminating NUL
}

// Names and paths compare case-insensitively: they are indexed folded.
QString Folded(const QString &name) { return name.toCaseFolded(); }

// A nested object or array as QJsonValue; null when Qt cannot hold it (a
// number out of range inside).
QJsonValue ComposedValue(QByteArrayView source)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(source.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError)
        return QJsonValue();
    return document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
}

// The JSON text of a value of another kind made in memory.
QByteArray CompactJson(const QJsonValue &value)
{
    if (value.isObject())
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    if (value.isArray())
        return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2); // without "[" and "]"
}

// A free name next to `path` for keeping a damaged file.
QString AsideName(const QString &path)
{
    const QString base =
        path + QStringLiteral(".damaged-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString candidate = base;
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = base + u'-' + QString::number(n);
    return candidate;
}

QByteArray Digest(const QByteArray &bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256); }

// Renames whatever `from` is (a file, a link, a FIFO) without opening it.
bool RenameNode(const QString &from, const QString &to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// Makes a rename in `folder` durable.
void SyncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

StoredValue StoredValue::Text(const QString &text)
{
    StoredValue v;
    v.m_kind = Kind::Text;
    v.m_text = text;
    v.m_dataSize = TextDataSize(text);
    return v;
}

StoredValue StoredValue::Integer(qint32 value)
{
    StoredValue v;
    v.m_kind = Kind::Integer;
    v.m_integer = value;
    v.m_dataSize = 4;
    return v;
}

QJsonValue StoredValue::raw() const
{
    if (m_source.startsWith('{') || m_source.startsWith('['))
        return ComposedValue(m_source);
    return m_raw;
}

StoredValue StoredValue::Other(const QJsonValue &raw, qsizetype dataSize)
{
    StoredValue v;
    v.m_kind = Kind::Other;
    v.m_raw = raw;
    v.m_dataSize = dataSize;
    return v;
}

QString CanonicalKeyPath(const QString &path)
{
    QStringView rest(path);
    if (rest.startsWith(u'\\'))
        rest = rest.mid(1);
    if (rest.isEmpty())
        return {};
    QString canonical;
    for (QStringView part : rest.split(u'\\')) {
        if (part.isEmpty())
            return {};
        canonical += u'\\';
        canonical += part;
    }
    return canonical;
}

// ---- SettingsKey ----

std::optional<StoredValue> SettingsKey::Value(const QString &name) const
{
    if (const SettingsStore::Key *key = m_store->FindKey(m_path)) {
        if (const SettingsStore::Entry *entry = key->Find(name))
            return entry->value;
    }
    return std::nullopt;
}

QStringList SettingsKey::ValueNames() const
{
    QStringList names;
    if (const SettingsStore::Key *key = m_store->FindKey(m_path)) {
        for (const SettingsStore::Entry &entry : key->values)
            names.append(entry.name);
    }
    return names;
}

bool SettingsKey::WriteText(const QString &name, const QString &text) { return Write(name, StoredValue::Text(text)); }

bool SettingsKey::WriteInteger(const QString &name, qint32 value) { return Write(name, StoredValue::Integer(value)); }

bool SettingsKey::Write(const QString &name, const StoredValue &value)
{
    if (!m_writable || m_writable->m_access == SettingsStore::Access::ReadOnly || name.isEmpty())
        return false;
    SettingsStore::Key *key = m_writable->FindKey(m_path);
    if (!key) // the key was created when opened; keep writing sound anyway
        key = &m_writable->AppendKey(m_path);
    if (SettingsStore::Entry *entry = key->Find(name))
        entry->value = value;
    else
        key->Append(name, value);
    return true;
}

// ---- SettingsStore ----

QString SettingsStore::UserStorePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/ralvo/settings.json");
}

SettingsStore SettingsStore::OpenUserStore(Access access) { return Open(UserStorePath(), access); }

SettingsStore SettingsStore::InMemory() { return SettingsStore(); }

SettingsStore SettingsStore::Open(const QString &filePath, Access access)
{
    SettingsStore store;
    store.m_filePath = filePath;
    store.m_access = access;

    const QFileInfo info(filePath);
    // Only a regular file is read, without blocking and never beyond the
    // cap: a FIFO, a device or a huge file is a damaged store.
    const FileReadResult file = ReadRegularFile(filePath, kMaxStoreFileBytes);
    if (file.status == FileReadResult::Status::Missing)
        return store;
    QString why = file.reason;
    if (file.ok()) {
        store.m_diskDigest = Digest(file.bytes);
        if (std::optional<SettingsStore> parsed = FromJson(file.bytes, &why)) {
            store.m_keys = std::move(parsed->m_keys);
            store.m_keyIndex = std::move(parsed->m_keyIndex);
            return store;
        }
    }

    // Unreadable or not a store: start empty, and never overwrite the file.
    store.m_diskDigest.clear();
    if (access == Access::ReadOnly) {
        store.m_problem = QStringLiteral("設定ファイル '%1' を読み込めませんでした（%2）。初期設定を使います。")
                              .arg(QDir::toNativeSeparators(filePath), why);
        return store;
    }
    const QString aside = AsideName(filePath);
    if (RenameNode(filePath, aside)) {
        SyncFolder(info.absolutePath());
        store.m_problem = QStringLiteral("設定ファイル '%1' を読み込めませんでした（%2）。初期設定で起動します。"
                                         "元のファイルは '%3' として残してあります。")
                              .arg(QDir::toNativeSeparators(filePath), why, QDir::toNativeSeparators(aside));
    } else {
        store.m_saveBlocked = true;
        store.m_diskDigest = file.ok() ? Digest(file.bytes) : QByteArray();
        store.m_problem = QStringLiteral("設定ファイル '%1' を読み込めませんでした（%2）。初期設定で起動します。"
                                         "ファイルの名前を変えられなかったため、上書きせずにそのまま残します。")
                              .arg(QDir::toNativeSeparators(filePath), why);
    }
    return store;
}

QString SettingsStore::TakeProblemReport() { return std::exchange(m_problem, QString()); }

const SettingsStore::Entry *SettingsStore::Key::Find(const QString &name) const
{
    const QString folded = Folded(name);
    if (index.isEmpty()) { // a few values: looked through
        for (const Entry &entry : values) {
            if (Folded(entry.name) == folded)
                return &entry;
        }
        return nullptr;
    }
    const auto at = index.constFind(folded);
    return at == index.cend() ? nullptr : &values.at(*at);
}

SettingsStore::Entry *SettingsStore::Key::Find(const QString &name)
{
    return const_cast<Entry *>(std::as_const(*this).Find(name));
}

void SettingsStore::Key::Append(const QString &name, const StoredValue &value)
{
    if (index.isEmpty() && values.size() >= kIndexedValues) {
        for (qsizetype i = 0; i < values.size(); ++i)
            index.insert(Folded(values.at(i).name), i);
    }
    if (!index.isEmpty())
        index.insert(Folded(name), values.size());
    values.append(Entry{name, value});
}

const SettingsStore::Key *SettingsStore::FindKey(const QString &path) const
{
    const auto at = m_keyIndex.constFind(Folded(path));
    return at == m_keyIndex.cend() ? nullptr : &m_keys.at(*at);
}

SettingsStore::Key &SettingsStore::AppendKey(const QString &path)
{
    m_keyIndex.insert(Folded(path), m_keys.size());
    m_keys.append(Key{path, {}, {}});
    return m_keys.last();
}

SettingsStore::Key *SettingsStore::FindKey(const QString &path)
{
    return const_cast<Key *>(std::as_const(*this).FindKey(path));
}

std::optional<SettingsKey> SettingsStore::OpenKeyForReading(const QString &path) const
{
    const QString canonical = CanonicalKeyPath(path);
    if (canonical.isEmpty())
        return std::nullopt;
    if (const Key *key = FindKey(canonical))
        return SettingsKey(this, nullptr, key->path);
    const QString prefix = canonical + u'\\';
    for (const Key &key : m_keys) {
        if (key.path.startsWith(prefix, Qt::CaseInsensitive)) // a parent exists through its children
            return SettingsKey(this, nullptr, canonical);
    }
    return std::nullopt;
}

std::optional<SettingsKey> SettingsStore::OpenKeyForWriting(const QString &path)
{
    const QString canonical = CanonicalKeyPath(path);
    if (canonical.isEmpty() || m_access == Access::ReadOnly)
        return std::nullopt;
    if (const Key *key = FindKey(canonical))
        return SettingsKey(this, this, key->path);
    AppendKey(canonical);
    return SettingsKey(this, this, canonical);
}

QStringList SettingsStore::KeyPaths() const
{
    QStringList paths;
    for (const Key &key : m_keys)
        paths.append(key.path);
    return paths;
}

QByteArray SettingsStore::ToJson() const
{
    // Written by hand so that keys and values keep their order, and a value
    // of another kind is written back exactly as it was found.
    QByteArray out;
    out += "{\n    \"format\": " + JsonQuoted(kFormatName) + ",\n";
    out += "    \"version\": " + QByteArray::number(kFormatVersion) + ",\n";
    out += "    \"keys\": {";
    for (qsizetype k = 0; k < m_keys.size(); ++k) {
        const Key &key = m_keys.at(k);
        out += k == 0 ? "\n" : ",\n";
        out += "        " + JsonQuoted(key.path) + ": {";
        for (qsizetype v = 0; v < key.values.size(); ++v) {
            const Entry &entry = key.values.at(v);
            out += v == 0 ? "\n" : ",\n";
            out += "            " + JsonQuoted(entry.name) + ": ";
            switch (entry.value.kind()) {
            case StoredValue::Kind::Text:
                out += JsonQuoted(entry.value.text());
                break;
            case StoredValue::Kind::Integer:
                out += QByteArray::number(entry.value.integer());
                break;
            case StoredValue::Kind::Other:
                out += entry.value.m_source.isEmpty() ? CompactJson(entry.value.raw()) : entry.value.m_source;
                break;
            }
        }
        out += key.values.isEmpty() ? "}" : "\n        }";
    }
    out += m_keys.isEmpty() ? "}\n}\n" : "\n    }\n}\n";
    return out;
}

namespace {

// "{"kind": name, "data": hex}" → the data's byte count; -1 when the text
// of an object is not that form. Reads at most three members.
qsizetype OtherDataSize(QByteArrayView source)
{
    JsonCursor cursor(source);
    if (!cursor.EnterObject())
        return -1;
    bool kind = false;
    qsizetype size = -1;
    QString name;
    for (int members = 0; cursor.NextMember(name); ++members) {
        JsonNode value;
        if (members == 2 || !cursor.ReadValue(value) || value.type != JsonNode::Type::String)
            return -1;
        if (name == u"kind" && !kind) {
            kind = true;
        } else if (name == u"data" && size < 0) {
            const QString &hex = value.string;
            if (hex.size() % 2 != 0)
                return -1;
            for (QChar c : hex) {
                if (!c.isDigit() && !(c >= u'a' && c <= u'f') && !(c >= u'A' && c <= u'F'))
                    return -1;
            }
            size = hex.size() / 2;
        } else {
            return -1;
        }
    }
    return cursor.failed() || !kind ? -1 : size;
}

// One value of a key as the file holds it. An object or array is kept as
// its text only (FromJson keeps it; raw() makes it a QJsonValue when asked).
StoredValue ValueFromNode(const JsonNode &node, QByteArrayView text)
{
    const QByteArrayView source = text.sliced(node.begin, node.end - node.begin);
    StoredValue value;
    switch (node.type) {
    case JsonNode::Type::String:
        return StoredValue::Text(node.string);
    case JsonNode::Type::Number:
        if (!node.numberInRange) {
            value = StoredValue::Other(QJsonValue(), 0);
        } else if (std::trunc(node.number) == node.number && node.number >= std::numeric_limits<qint32>::min()
                   && node.number <= std::numeric_limits<qint32>::max()) {
            return StoredValue::Integer(static_cast<qint32>(node.number));
        } else {
            value = StoredValue::Other(QJsonValue(node.number), 8); // a 64-bit number
        }
        break;
    case JsonNode::Type::Object: {
        const qsizetype size = OtherDataSize(source);
        value = StoredValue::Other(QJsonValue(), size >= 0 ? size : kUnknownSize);
        break;
    }
    case JsonNode::Type::Array:
        value = StoredValue::Other(QJsonValue(), kUnknownSize);
        break;
    case JsonNode::Type::Boolean:
        value = StoredValue::Other(QJsonValue(node.boolean), kUnknownSize);
        break;
    case JsonNode::Type::Null:
        value = StoredValue::Other(QJsonValue(), kUnknownSize);
        break;
    }
    return value;
}

// What a store read from a file may take in memory, against the file's
// size: the file itself is held while it is read, so the store may take
// nine times its size for the whole to stay within ten. A small file may
// take a megabyte (a few hundred times a real store), as a handful of
// values costs more than their bytes in the file. A file whose contents need
// more (a million tiny keys) is read as damaged: it cannot be held.
constexpr qint64 kStoreMemoryFactor = 9;
constexpr qint64 kMinStoreMemory = 1024 * 1024;

// The heap a block of n bytes takes: glibc's chunk header, rounded up to
// its 16-byte granule.
qint64 Chunk(qint64 bytes) { return (bytes + 8 + 15) / 16 * 16; }

// The heap a text holds on its own (Qt's array header, its capacity and the
// terminating NUL); none for the shared empty text.
qint64 HeapOf(const QString &text) { return text.capacity() > 0 ? Chunk(16 + 2 * (text.capacity() + 1)) : 0; }

qint64 HeapOf(const QByteArray &bytes) { return bytes.capacity() > 0 ? Chunk(16 + bytes.capacity() + 1) : 0; }

// The heap of an index by folded name: its spans (a 128-byte offset table
// and a header for every 128 buckets, two buckets to an entry), each span's
// entries with their growth slack, and the folded names, counted apart.
qint64 HeapOf(const QHash<QString, qsizetype> &index)
{
    constexpr qint64 kNode = qint64(sizeof(QString)) + qint64(sizeof(qsizetype));
    const qint64 buckets = 2 * index.capacity();
    const qint64 spans = (buckets + 127) / 128;
    return spans * (Chunk(144) + 48 * kNode) + index.size() * kNode;
}

// Counts the heap the store takes as it is read, from its containers'
// capacities and its texts' allocations, so the bound holds whatever the
// shape of the file.
class StoreMemory
{
public:
    explicit StoreMemory(qint64 budget) : m_budget(budget) {}

    // A container grew from `before` to `after` bytes.
    bool Grew(qint64 before, qint64 after) { return Add(after - before); }
    bool Add(qint64 bytes)
    {
        m_used += bytes;
        return m_used <= m_budget;
    }

private:
    qint64 m_budget;
    qint64 m_used = 0;
};

template<typename T>
qint64 SlotsOf(const QList<T> &list)
{
    return list.capacity() > 0 ? Chunk(16 + list.capacity() * qint64(sizeof(T))) : 0;
}

} // namespace

std::optional<SettingsStore> SettingsStore::FromJson(const QByteArray &json, QString *error)
{
    auto fail = [error](const QString &why) -> std::optional<SettingsStore> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    StoreMemory memory(std::max(kMinStoreMemory, kStoreMemoryFactor * json.size()));
    const QString tooLarge = QStringLiteral("設定が多すぎてメモリに収まりません");

    // Read piece by piece: the file is never held as a tree.
    JsonCursor cursor(json);
    SettingsStore store;
    if (!cursor.EnterObject()) {
        // JSON, but not an object; or no JSON at all.
        JsonCursor whole(json);
        JsonNode node;
        if (whole.ReadValue(node) && whole.AtDocumentEnd())
            return fail(QStringLiteral("らるぼの設定ファイルではありません"));
        return fail(whole.error());
    }
    QSet<QString> topNames;
    std::optional<JsonNode> format;
    std::optional<JsonNode> version;
    QString name;
    while (cursor.NextMember(name)) {
        if (topNames.contains(name))
            return fail(QStringLiteral("'%1' が重複しています").arg(name));
        topNames.insert(name);
        if (name != u"keys") {
            JsonNode node;
            if (!cursor.ReadValue(node))
                break;
            if (name == u"format")
                format = std::move(node);
            else if (name == u"version")
                version = std::move(node);
            continue;
        }
        if (!cursor.AtObject()) {
            JsonNode node;
            if (!cursor.ReadValue(node))
                break;
            return fail(QStringLiteral("\"keys\" がオブジェクトではありません"));
        }
        cursor.EnterObject();
        QString keyName;
        while (cursor.NextMember(keyName)) {
            const QString path = CanonicalKeyPath(keyName);
            if (path.isEmpty())
                return fail(QStringLiteral("キーのパス '%1' が不正です").arg(keyName));
            if (!cursor.AtObject())
                return fail(QStringLiteral("キー '%1' がオブジェクトではありません").arg(keyName));
            if (store.FindKey(path))
                return fail(QStringLiteral("キー '%1' が重複しています").arg(keyName));
            const qint64 keysBefore = SlotsOf(store.m_keys) + HeapOf(store.m_keyIndex);
            Key &key = store.AppendKey(path);
            // The path, and its folded copy in the index.
            if (!memory.Grew(keysBefore, SlotsOf(store.m_keys) + HeapOf(store.m_keyIndex))
                || !memory.Add(2 * HeapOf(key.path)))
                return fail(tooLarge);
            cursor.EnterObject();
            QString valueName;
            while (cursor.NextMember(valueName)) {
                if (valueName.isEmpty())
                    return fail(QStringLiteral("キー '%1' に名前のない値があります").arg(keyName));
                if (key.Find(valueName))
                    return fail(QStringLiteral("キー '%1' の値 '%2' が重複しています").arg(keyName, valueName));
                JsonNode node;
                if (!cursor.ReadValue(node))
                    break;
                StoredValue value = ValueFromNode(node, json);
                if (value.kind() == StoredValue::Kind::Other) // kept as written
                    value.m_source = json.sliced(node.begin, node.end - node.begin);
                const qint64 valuesBefore = SlotsOf(key.values) + HeapOf(key.index);
                key.Append(valueName, value);
                // The name (twice once the key is indexed: its folded copy
                // too) and what the value holds.
                const Entry &entry = key.values.last();
                if (!memory.Grew(valuesBefore, SlotsOf(key.values) + HeapOf(key.index))
                    || !memory.Add(2 * HeapOf(entry.name) + HeapOf(entry.value.m_text) + HeapOf(entry.value.m_source)))
                    return fail(tooLarge);
            }
        }
    }
    if (!cursor.AtDocumentEnd())
        return fail(cursor.error());
    if (!format || format->type != JsonNode::Type::String || format->string != kFormatName)
        return fail(QStringLiteral("らるぼの設定ファイルではありません"));
    if (!version || version->type != JsonNode::Type::Number || !version->numberInRange
        || version->number != kFormatVersion)
        return fail(QStringLiteral("対応していない版です"));
    return store;
}

bool SettingsStore::Save(QString *errorText)
{
    auto fail = [errorText](const QString &why) {
        if (errorText)
            *errorText = why;
        return false;
    };
    if (m_access == Access::ReadOnly)
        return fail(QStringLiteral("読み取り専用で開いています"));
    if (m_filePath.isEmpty())
        return fail(QStringLiteral("保存先のファイルがありません"));
    // The damaged file could not be moved aside when the store was opened:
    // try again (the folder may have been fixed since), never overwrite it.
    if (m_saveBlocked && (QFileInfo::exists(m_filePath) || QFileInfo(m_filePath).isSymLink())
        && !RenameNode(m_filePath, AsideName(m_filePath)))
        return fail(QStringLiteral("読み込めなかった設定ファイルを上書きしません"));
    m_saveBlocked = false;

    const QFileInfo info(m_filePath);
    if (!QDir().mkpath(info.absolutePath()))
        return fail(QStringLiteral("フォルダ '%1' を作成できません").arg(info.absolutePath()));

    // A save killed between writing and renaming left its temporary file.
    RemoveStrayTemporaryFiles(m_filePath);
    // The store holds a patient's name and dates: a new file is for its owner
    // only. An existing file keeps the permissions it has.
    FileWriteOptions options;
    options.newFileMode = 0600;
    options.exactNewMode = true;
    const QByteArray bytes = ToJson();
    const FileWriteResult written = WriteFileAtomically(m_filePath, bytes, options);
    if (!written)
        return fail(written.reason);
    m_diskDigest = Digest(bytes);
    return true;
}

bool SettingsStore::ChangedOnDiskSinceRead() const
{
    if (m_filePath.isEmpty())
        return false;
    const FileReadResult file = ReadRegularFile(m_filePath, kMaxStoreFileBytes);
    if (file.status == FileReadResult::Status::Missing)
        return !m_diskDigest.isEmpty();
    if (!file.ok()) // not readable now: whatever it is, saving will say so
        return false;
    return Digest(file.bytes) != m_diskDigest;
}

} // namespace ralvo::store
