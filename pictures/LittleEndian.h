#pragma once

// The little-endian fields of a picture's bytes. Every read is checked
// against the end of the bytes: a field that does not lie whole within them
// reads as 0, so a decoder never reads past its data. Decoders still refuse
// data too short for what it declares: they ask Has() before they trust a
// field.

#include <QByteArray>
#include <QtEndian>

#include <algorithm>

namespace ralvo::pictures {

class LittleEndian
{
public:
    LittleEndian() = default;
    LittleEndian(const char *data, qint64 size) : m_data(data), m_size(data ? std::max<qint64>(size, 0) : 0) {}
    explicit LittleEndian(const QByteArray &bytes) : LittleEndian(bytes.constData(), bytes.size()) {}

    qint64 Size() const { return m_size; }
    const char *Data() const { return m_data; }

    // Whether `bytes` bytes from `at` lie within the data.
    bool Has(qint64 at, qint64 bytes) const { return at >= 0 && bytes >= 0 && at <= m_size && bytes <= m_size - at; }

    // The `bytes` bytes from `at`, cut to those that lie within the data;
    // empty for a negative `at` or `bytes`.
    LittleEndian Part(qint64 at, qint64 bytes) const
    {
        if (at < 0 || bytes < 0 || at > m_size)
            return {};
        return LittleEndian(m_data + at, std::min(bytes, m_size - at));
    }

    quint8 U8(qint64 at) const { return Read<quint8>(at); }
    quint16 U16(qint64 at) const { return Read<quint16>(at); }
    qint16 I16(qint64 at) const { return Read<qint16>(at); }
    quint32 U32(qint64 at) const { return Read<quint32>(at); }
    qint32 I32(qint64 at) const { return Read<qint32>(at); }
    float F32(qint64 at) const { return Read<float>(at); }

private:
    template<class T>
    T Read(qint64 at) const
    {
        return Has(at, qint64(sizeof(T))) ? qFromLittleEndian<T>(m_data + at) : T(0);
    }

    const char *m_data = nullptr;
    qint64 m_size = 0;
};

} // namespace ralvo::pictures
