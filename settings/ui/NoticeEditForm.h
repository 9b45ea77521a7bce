#pragma once

#include "settings/ScheduleSettings.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace ralvo::platform {
class ColorGlyphButton;
class SharedColorChooser;
} // namespace ralvo::platform

namespace ralvo {

// "注意項目の編集": the text and colour of the notice of each week 4 to 43,
// on five pages of eight weeks, with each text's width and the width that
// fits on the printed page. It never touches the notice table itself: the
// settings dialog fills it and reads it back after OK.
class TNoticeEditForm : public QDialog
{
    Q_OBJECT

public:
    static constexpr int Weeks = NoticeTable::Count;

    // `settings` is the application's stored settings record: its notation
    // decides the printable width.
    TNoticeEditForm(const ScheduleSettings &settings, platform::SharedColorChooser &colorChooser,
                    QWidget *parent = nullptr);

    // The 40 texts into Edit1 to Edit40, then the 40 colours into BitBtn1 to
    // BitBtn40 (field n holds week n + 3).
    void Fill(const NoticeTable &notices);
    NoticeTable Notices() const;
    // The week-end switch as the settings dialog shows it right now.
    void SetWeekEndPrinted(bool printed) { m_weekEndPrinted = printed; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *BuildPage(int page);
    void FormShow();
    void EditChange(int n);
    void BitBtn1Click(platform::ColorGlyphButton &button);
    void Button1Click();
    void UpdateAllCounts();

    // The controls of field n (1 to 40, week n + 3) by their number in the
    // window: Edit(n) is "Edit<n>", BitBtn(n) "BitBtn<n>"; the week and count
    // labels are numbered page by page.
    QLineEdit *Edit(int n) const { return m_edits.at(std::size_t(n - 1)); }
    platform::ColorGlyphButton *BitBtn(int n) const { return m_buttons.at(std::size_t(n - 1)); }
    QLabel *WeekLabel(int n) const { return m_weekLabels.at(std::size_t(n - 1)); }
    QLabel *CountLabel(int n) const { return m_countLabels.at(std::size_t(n - 1)); }

    const ScheduleSettings &m_settings;
    platform::SharedColorChooser &m_colorChooser;
    bool m_weekEndPrinted = true;

    QTabWidget *PageControl1 = nullptr;       // the five pages of eight weeks
    QLabel *Label21 = nullptr;                // printable notice width, in full-width characters
    QPushButton *okButton = nullptr;          // OK
    QPushButton *canButton = nullptr;         // Cancel
    QPushButton *Button1 = nullptr;           // "初期状態に戻す": the first-run notices into the fields
    std::array<QLineEdit *, Weeks> m_edits{}; // Edit1 to Edit40: the notices' texts
    std::array<platform::ColorGlyphButton *, Weeks> m_buttons{}; // BitBtn1 to BitBtn40: their colours
    std::array<QLabel *, Weeks> m_weekLabels{};                  // "妊娠４週" to "妊娠43週"
    std::array<QLabel *, Weeks> m_countLabels{};                 // each text's width, full-width characters
};

} // namespace ralvo
