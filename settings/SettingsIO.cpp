#include "settings/SettingsIO.h"

#include "calc/DueDate.h"
#include "settings/ScheduleSettingsFields.h"
#include "store/SettingsStore.h"

#include <QDate>

#include <variant>

namespace ralvo {

using store::SettingsKey;
using store::SettingsStore;
using store::StoredValue;

namespace {

QString NoticeTextName(int week) { return QStringLiteral("Not") + QString::number(week); }
QString NoticeColourName(int week) { return QStringLiteral("Col") + QString::number(week); }

// ---- reading values ----

// Reads values from one key, telling the user about each value it cannot read.
class KeyReader
{
public:
    KeyReader(const SettingsKey &key, platform::Messages *messages) : m_key(key), m_messages(messages) {}

    // A missing text is the empty text; a value of another kind is reported.
    std::optional<QString> Text(const QString &name) const
    {
        const std::optional<StoredValue> value = m_key.Value(name);
        if (!value)
            return QString();
        if (value->kind() != StoredValue::Kind::Text) {
            Tell(QStringLiteral("'%1' のデータ型が不正です"), name);
            return std::nullopt;
        }
        return value->text();
    }

    // A missing or oversized value cannot be got; a small one of another kind
    // has the wrong type.
    std::optional<qint32> Integer(const QString &name) const
    {
        const std::optional<StoredValue> value = m_key.Value(name);
        if (!value || value->dataSize() > 4) {
            Tell(QStringLiteral("'%1' の取得に失敗しました"), name);
            return std::nullopt;
        }
        if (value->kind() != StoredValue::Kind::Integer) {
            Tell(QStringLiteral("'%1' のデータ型が不正です"), name);
            return std::nullopt;
        }
        return value->integer();
    }

private:
    void Tell(const QString &pattern, const QString &name) const
    {
        if (m_messages)
            m_messages->ShowMessage(pattern.arg(name));
    }

    const SettingsKey &m_key;
    platform::Messages *m_messages;
};

// Reads one row into `settings`; an unreadable or out-of-range value leaves
// the field as it is (its first-run default).
void ReadRow(const KeyReader &reader, const SettingField &row, ScheduleSettings &settings)
{
    const QString name = row.Name();
    std::visit(
        [&](auto member) {
            using Field = std::remove_reference_t<decltype(settings.*member)>;
            if constexpr (std::is_same_v<Field, QString>) {
                if (std::optional<QString> text = reader.Text(name))
                    settings.*member = *text;
            } else if (std::optional<qint32> value = reader.Integer(name)) {
                if constexpr (std::is_same_v<Field, bool>)
                    settings.*member = *value != 0;
                else if constexpr (std::is_same_v<Field, Colour>)
                    settings.*member = static_cast<Colour>(*value);
                else if (*value >= row.minimum && *value <= row.maximum)
                    settings.*member = *value;
            }
        },
        row.member);
}

// Writes one row; false when the store refuses it.
bool WriteRow(SettingsKey &key, const SettingField &row, const ScheduleSettings &settings)
{
    const QString name = row.Name();
    return std::visit(
        [&](auto member) {
            const auto &field = settings.*member;
            using Field = std::remove_cvref_t<decltype(field)>;
            if constexpr (std::is_same_v<Field, QString>)
                return key.WriteText(name, field);
            else if constexpr (std::is_same_v<Field, bool>)
                return key.WriteInteger(name, field ? 1 : 0);
            else
                return key.WriteInteger(name, static_cast<qint32>(field));
        },
        row.member);
}

// The last input as the main window shows it when nothing is stored: the
// same as its New command.
void SetStartInput(LastInputFields &fields, QDate today)
{
    fields.SetCycleText(QStringLiteral("28"));
    fields.SetYearText(today.toString(QStringLiteral("yyyy")));
    fields.SetMonthText(today.toString(QStringLiteral("MM")));
    fields.SetDayText(today.toString(QStringLiteral("dd")));
    fields.SetMotherName(QString());
}

void LoadLastInput(const KeyReader &reader, LastInputFields &fields, QDate today)
{
    if (std::optional<qint32> basis = reader.Integer(QStringLiteral("Kijun"))) {
        if (*basis >= 0 && *basis <= 2)
            fields.SetBasis(*basis);
    }
    // A value that cannot be read leaves its field with the start value.
    auto number = [&](const char16_t *name, const QString &fallback) {
        const std::optional<qint32> value = reader.Integer(QString::fromUtf16(name));
        return value ? QString::number(*value) : fallback;
    };
    fields.SetYearText(number(u"KijunY", today.toString(QStringLiteral("yyyy"))));
    fields.SetMonthText(number(u"KijunM", today.toString(QStringLiteral("MM"))));
    fields.SetDayText(number(u"KijunD", today.toString(QStringLiteral("dd"))));
    fields.SetMotherName(reader.Text(QStringLiteral("Mother")).value_or(QString()));
    fields.SetCycleText(number(u"Shuki", QStringLiteral("28")));
}

} // namespace

void LoadStoredRecords(SettingsStore &store, StoredRecords &records, LastInputFields &fields,
                       const platform::Services &services)
{
    platform::Messages *messages = services.messages;
    if (const QString report = store.TakeProblemReport(); !report.isEmpty() && messages)
        messages->ShowMessage(report);

    ScheduleSettings settings;
    if (const std::optional<SettingsKey> key = store.OpenKeyForReading(store_keys::SetData())) {
        const KeyReader reader(*key, messages);
        for (const SettingField *row : ScheduleSettingFieldsInReadOrder())
            ReadRow(reader, *row, settings);
    }
    records.settings = settings;

    NoticeTable notices = DefaultNoticeTable();
    if (const std::optional<SettingsKey> key = store.OpenKeyForReading(store_keys::NoticeSetData())) {
        const KeyReader reader(*key, messages);
        for (int week = NoticeTable::FirstWeek; week <= NoticeTable::LastWeek; ++week) {
            if (std::optional<QString> text = reader.Text(NoticeTextName(week)))
                notices.ForWeek(week).text = *text;
        }
        for (int week = NoticeTable::FirstWeek; week <= NoticeTable::LastWeek; ++week) {
            if (std::optional<qint32> colour = reader.Integer(NoticeColourName(week)))
                notices.ForWeek(week).color = static_cast<Colour>(*colour);
        }
    }
    records.notices = notices;

    const QDate today = services.clock ? services.clock->Today() : QDate::currentDate();
    if (const std::optional<SettingsKey> key = store.OpenKeyForReading(store_keys::LastData()))
        LoadLastInput(KeyReader(*key, messages), fields, today);
    else
        SetStartInput(fields, today);

    records.blockText.reset();
    if (const std::optional<SettingsKey> key = store.OpenKeyForReading(store_keys::KikanmeiData()))
        records.blockText = KeyReader(*key, messages).Text(QStringLiteral("EditStr"));
}

bool SaveStoredRecords(SettingsStore &store, const StoredRecords &records, const LastInputFields &fields,
                       const platform::Services &services)
{
    auto tell = [&](const QString &text) {
        if (services.messages)
            services.messages->ShowMessage(text);
    };
    auto refused = [&](const QString &name) {
        tell(QStringLiteral("'%1' の設定に失敗しました").arg(name));
        return false;
    };

    // Another window (or anyone) saved the file since this one read it:
    // overwriting would silently drop those changes, so ask first.
    if (store.ChangedOnDiskSinceRead() && services.messages) {
        platform::Messages::Question question;
        question.caption = QStringLiteral("確認");
        question.text = QStringLiteral("設定ファイル %1 は、この画面を開いた後に別の らるぼPro で変更されています。\n"
                                       "この画面の設定で上書きしますか？\n"
                                       "（いいえ: この画面の設定を保存せずに終了します）")
                            .arg(store.filePath());
        question.icon = platform::Messages::Icon::Warning;
        question.buttons = platform::Messages::Buttons::YesNoCancel;
        question.defaultAnswer = platform::Messages::Answer::Cancel;
        switch (services.messages->Ask(question)) {
        case platform::Messages::Answer::Yes:
        case platform::Messages::Answer::Ok:
            break;
        case platform::Messages::Answer::No:
            return true; // the other window's settings stay
        case platform::Messages::Answer::Cancel:
            return false;
        }
    }

    std::optional<SettingsKey> key = store.OpenKeyForWriting(store_keys::SetData());
    if (!key)
        return refused(ScheduleSettingFields().front().Name());
    for (const SettingField &row : ScheduleSettingFields()) {
        if (!WriteRow(*key, row, records.settings))
            return refused(row.Name());
    }

    key = store.OpenKeyForWriting(store_keys::NoticeSetData());
    if (!key)
        return refused(NoticeTextName(NoticeTable::FirstWeek));
    for (int week = NoticeTable::FirstWeek; week <= NoticeTable::LastWeek; ++week) {
        if (!key->WriteText(NoticeTextName(week), records.notices.ForWeek(week).text))
            return refused(NoticeTextName(week));
    }
    for (int week = NoticeTable::FirstWeek; week <= NoticeTable::LastWeek; ++week) {
        if (!key->WriteInteger(NoticeColourName(week), static_cast<qint32>(records.notices.ForWeek(week).color)))
            return refused(NoticeColourName(week));
    }

    key = store.OpenKeyForWriting(store_keys::LastData());
    if (!key)
        return refused(QStringLiteral("Kijun"));
    if (!key->WriteInteger(QStringLiteral("Kijun"), fields.Basis()))
        return refused(QStringLiteral("Kijun"));
    // A field holding no whole number stops the save there; what was written
    // before it is kept.
    auto writeNumber = [&](const QString &name, const QString &text) {
        const std::optional<qint32> value = ParseIntegerField(text);
        if (!value) {
            tell(QStringLiteral("'%1' は整数ではありません").arg(text));
            store.Save();
            return false;
        }
        return key->WriteInteger(name, *value) || refused(name);
    };
    if (!writeNumber(QStringLiteral("KijunY"), fields.YearText())
        || !writeNumber(QStringLiteral("KijunM"), fields.MonthText())
        || !writeNumber(QStringLiteral("KijunD"), fields.DayText()))
        return false;
    if (!key->WriteText(QStringLiteral("Mother"), fields.MotherName()))
        return refused(QStringLiteral("Mother"));
    if (!writeNumber(QStringLiteral("Shuki"), fields.CycleText()))
        return false;

    key = store.OpenKeyForWriting(store_keys::KikanmeiData());
    if (!key || !key->WriteText(QStringLiteral("EditStr"), records.blockText.value_or(QString())))
        return refused(QStringLiteral("EditStr"));

    // Nothing reached the disk yet: the first value is the one that failed.
    if (!store.Save())
        return refused(ScheduleSettingFields().front().Name());
    return true;
}

} // namespace ralvo
