#include "platform/SettingsStore.h"

#include "platform/ShiftJis.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#include <cmath>
#include <limits>

#include <fcntl.h>
#include <unistd.h>

namespace ralvo::platform {

namespace {

const QString kFormatName = QStringLiteral("ralvo-settings");
constexpr int kFormatVersion = 1;
// A value in a form the store does not know: never smaller than 5 bytes, so
// reading it as an integer fails like any oversized value.
constexpr qsizetype kUnknownSize = std::numeric_limits<qsizetype>::max();

qsizetype TextDataSize(const QString &text)
{
    return ShiftJisWidth(text) + 1; // the code page 932 bytes and the terminating NUL
}

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// "{"kind": name, "data": hex}" → the data's byte count; -1 when not that form.
qsizetype OtherDataSize(const QJsonObject &object)
{
    if (object.size() != 2 || !object.value(QLatin1String("kind")).isString()
        || !object.value(QLatin1String("data")).isString())
        return -1;
    const QString hex = object.value(QLatin1String("data")).toString();
    if (hex.size() % 2 != 0)
        return -1;
    for (QChar c : hex) {
        if (!c.isDigit() && !(c >= u'a' && c <= u'f') && !(c >= u'A' && c <= u'F'))
            return -1;
    }
    return hex.size() / 2;
}

StoredValue ValueFromJson(const QJsonValue &json)
{
    if (json.isString())
        return StoredValue::Text(json.toString());
    if (json.isDouble()) {
        const double d = json.toDouble();
        if (std::trunc(d) == d && d >= std::numeric_limits<qint32>::min()
            && d <= std::numeric_limits<qint32>::max())
            return StoredValue::Integer(static_cast<qint32>(d));
        return StoredValue::Other(json, 8); // a 64-bit number
    }
    if (json.isObject()) {
        const qsizetype size = OtherDataSize(json.toObject());
        if (size >= 0)
            return StoredValue::Other(json, size);
    }
    return StoredValue::Other(json, kUnknownSize);
}

QJsonValue ValueToJson(const StoredValue &value)
{
    switch (value.kind()) {
    case StoredValue::Kind::Text:
        return value.text();
    case StoredValue::Kind::Integer:
        return value.integer();
    case StoredValue::Kind::Other:
        break;
    }
    return value.raw();
}

// A free name next to `path` for keeping a damaged file.
QString AsideName(const QString &path)
{
    const QString base = path + QStringLiteral(".damaged-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString candidate = base;
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = base + u'-' + QString::number(n);
    return candidate;
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
        for (const SettingsStore::Entry &entry : key->values) {
            if (SameName(entry.name, name))
                return entry.value;
        }
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

bool SettingsKey::WriteText(const QString &name, const QString &text)
{
    return Write(name, StoredValue::Text(text));
}

bool SettingsKey::WriteInteger(const QString &name, qint32 value)
{
    return Write(name, StoredValue::Integer(value));
}

bool SettingsKey::Write(const QString &name, const StoredValue &value)
{
    if (!m_writable || m_writable->m_access == SettingsStore::Access::ReadOnly || name.isEmpty())
        return false;
    SettingsStore::Key *key = m_writable->FindKey(m_path);
    if (!key) { // the key was created when opened; keep writing sound anyway
        m_writable->m_keys.append(SettingsStore::Key{m_path, {}});
        key = &m_writable->m_keys.last();
    }
    for (SettingsStore::Entry &entry : key->values) {
        if (SameName(entry.name, name)) {
            entry.value = value;
            return true;
        }
    }
    key->values.append(SettingsStore::Entry{name, value});
    return true;
}

// ---- SettingsStore ----

QString SettingsStore::UserStorePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/ralvo/settings.json");
}

SettingsStore SettingsStore::OpenUserStore(Access access)
{
    return Open(UserStorePath(), access);
}

SettingsStore SettingsStore::InMemory()
{
    return SettingsStore();
}

SettingsStore SettingsStore::Open(const QString &filePath, Access access)
{
    SettingsStore store;
    store.m_filePath = filePath;
    store.m_access = access;

    const QFileInfo info(filePath);
    if (!info.exists())
        return store;

    QString why;
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        why = file.errorString();
    } else {
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            why = file.errorString();
        } else if (std::optional<SettingsStore> parsed = FromJson(bytes, &why)) {
            store.m_keys = std::move(parsed->m_keys);
            return store;
        }
    }
    file.close();

    // Unreadable or not a store: start empty, and never overwrite the file.
    if (access == Access::ReadOnly) {
        store.m_problem = QStringLiteral("設定ファイル '%1' を読み込めませんでした（%2）。初期設定を使います。")
                              .arg(QDir::toNativeSeparators(filePath), why);
        return store;
    }
    const QString aside = AsideName(filePath);
    if (QFile::rename(filePath, aside)) {
        SyncFolder(info.absolutePath());
        store.m_problem = QStringLiteral("設定ファイル '%1' を読み込めませんでした（%2）。初期設定で起動します。"
                                         "元のファイルは '%3' として残してあります。")
                              .arg(QDir::toNativeSeparators(filePath), why, QDir::toNativeSeparators(aside));
    } else {
        store.m_saveBlocked = true;
        store.m_problem = QStringLiteral("設定ファイル '%1' を読み込めませんでした（%2）。初期設定で起動します。"
                                         "ファイルの名前を変えられなかったため、上書きせずにそのまま残します。")
                              .arg(QDir::toNativeSeparators(filePath), why);
    }
    return store;
}

QString SettingsStore::TakeProblemReport()
{
    return std::exchange(m_problem, QString());
}

const SettingsStore::Key *SettingsStore::FindKey(const QString &path) const
{
    for (const Key &key : m_keys) {
        if (SameName(key.path, path))
            return &key;
    }
    return nullptr;
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
    m_keys.append(Key{canonical, {}});
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
    QJsonObject keys;
    for (const Key &key : m_keys) {
        QJsonObject values;
        for (const Entry &entry : key.values)
            values.insert(entry.name, ValueToJson(entry.value));
        keys.insert(key.path, values);
    }
    QJsonObject top;
    top.insert(QLatin1String("format"), kFormatName);
    top.insert(QLatin1String("version"), kFormatVersion);
    top.insert(QLatin1String("keys"), keys);
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

std::optional<SettingsStore> SettingsStore::FromJson(const QByteArray &json, QString *error)
{
    auto fail = [error](const QString &why) -> std::optional<SettingsStore> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return fail(QStringLiteral("JSON の誤り: %1、位置 %2").arg(parseError.errorString()).arg(parseError.offset));
    const QJsonObject top = document.object();
    if (!document.isObject() || top.value(QLatin1String("format")).toString() != kFormatName)
        return fail(QStringLiteral("らるぼの設定ファイルではありません"));
    if (top.value(QLatin1String("version")).toInt(-1) != kFormatVersion)
        return fail(QStringLiteral("対応していない版です"));
    const QJsonValue keysValue = top.value(QLatin1String("keys"));
    if (!keysValue.isObject() && !keysValue.isUndefined())
        return fail(QStringLiteral("\"keys\" がオブジェクトではありません"));

    SettingsStore store;
    const QJsonObject keys = keysValue.toObject();
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        const QString path = CanonicalKeyPath(it.key());
        if (path.isEmpty())
            return fail(QStringLiteral("キーのパス '%1' が不正です").arg(it.key()));
        if (!it.value().isObject())
            return fail(QStringLiteral("キー '%1' がオブジェクトではありません").arg(it.key()));
        if (store.FindKey(path))
            return fail(QStringLiteral("キー '%1' が重複しています").arg(it.key()));
        Key key{path, {}};
        const QJsonObject values = it.value().toObject();
        for (auto v = values.begin(); v != values.end(); ++v) {
            for (const Entry &entry : std::as_const(key.values)) {
                if (SameName(entry.name, v.key()))
                    return fail(QStringLiteral("キー '%1' の値 '%2' が重複しています").arg(it.key(), v.key()));
            }
            if (v.key().isEmpty())
                return fail(QStringLiteral("キー '%1' に名前のない値があります").arg(it.key()));
            key.values.append(Entry{v.key(), ValueFromJson(v.value())});
        }
        store.m_keys.append(std::move(key));
    }
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
    if (m_saveBlocked && QFileInfo::exists(m_filePath) && !QFile::rename(m_filePath, AsideName(m_filePath)))
        return fail(QStringLiteral("読み込めなかった設定ファイルを上書きしません"));
    m_saveBlocked = false;

    const QFileInfo info(m_filePath);
    if (!QDir().mkpath(info.absolutePath()))
        return fail(QStringLiteral("フォルダ '%1' を作成できません").arg(info.absolutePath()));

    const bool firstSave = !info.exists();
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    // The store holds a patient's name and dates: a new file is for its owner
    // only. An existing file keeps the permissions it has.
    if (firstSave)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray bytes = ToJson();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return fail(file.errorString());
    }
    // The data reaches the disk before the rename makes it the store.
    if (::fsync(file.handle()) != 0) {
        file.cancelWriting();
        return fail(QStringLiteral("ディスクへの書き込みに失敗しました"));
    }
    if (!file.commit())
        return fail(file.errorString());
    SyncFolder(info.absolutePath());
    return true;
}

} // namespace ralvo::platform
