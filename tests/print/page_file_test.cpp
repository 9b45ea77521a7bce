// ralvo-schedule page: the PDF's text stands where the page puts it, with the
// Japanese face embedded; the PNG is the whole sheet; bad options and inputs
// are refused without writing a file.

#include <QImage>
#include <QPageSize>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <vector>

#ifndef RALVO_SCHEDULE_TOOL
#define RALVO_SCHEDULE_TOOL ""
#endif

namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;

struct ProcessRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

ProcessRun RunProgram(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    ProcessRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QStringList Example()
{
    return {QStringLiteral("page"),   QStringLiteral("--defaults"), QStringLiteral("--basis"), QStringLiteral("0"),
            QStringLiteral("--year"), QStringLiteral("2024"),       QStringLiteral("--month"), QStringLiteral("1"),
            QStringLiteral("--day"),  QStringLiteral("1"),          QStringLiteral("--cycle"), QStringLiteral("28"),
            QStringLiteral("--name"), QStringLiteral("サンプル")};
}

struct Word
{
    QString text;
    double xMin = 0; // points from the left edge
    double yMin = 0; // points from the top edge
    double xMax = 0;
};

std::vector<Word> WordsOf(const QByteArray &bboxHtml)
{
    std::vector<Word> words;
    QXmlStreamReader xml(bboxHtml);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("word")) {
            Word w;
            w.xMin = xml.attributes().value(QLatin1String("xMin")).toDouble();
            w.yMin = xml.attributes().value(QLatin1String("yMin")).toDouble();
            w.xMax = xml.attributes().value(QLatin1String("xMax")).toDouble();
            w.text = xml.readElementText();
            words.push_back(w);
        }
    }
    return words;
}

class PageFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QString(RALVO_SCHEDULE_TOOL).isEmpty())
            GTEST_SKIP() << "ralvo-schedule is not built";
        ASSERT_TRUE(dir.isValid());
    }

    ProcessRun Tool(QStringList arguments) { return RunProgram(QStringLiteral(RALVO_SCHEDULE_TOOL), arguments); }
    QString Path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(PageFileTest, WorkedExamplePdfTextStandsWhereThePagePutsIt)
{
    const QString pdf = Path("x.pdf");
    const ProcessRun run = Tool(Example() << QStringLiteral("-o") << pdf);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());

    const ProcessRun text =
        RunProgram(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    ASSERT_EQ(text.status, 0);
    const std::vector<Word> words = WordsOf(text.out);
    // Expected top-left corners in millimetres on A4 (210 × 297), row k of
    // 40 at 0.1246 + g / 2 + (g + 0.0142) × k with g = 0.002635.
    const auto rowTop = [](int k) { return (0.1259175 + 0.016835 * k) * 297; };
    // Where a width is given, the text is that wide within 1 %: the title as
    // wide as its underline (0.2579 to 0.7421 of the width), table texts as
    // wide as their columns of the grid (0.0101 of the width each).
    const double column = 0.0101 * 210;
    struct Expect
    {
        QString text;
        int occurrence;
        double x, y;
        double width = 0;
    };
    const Expect expected[] = {
        {QStringLiteral("サンプルさんの出産までのスケジュール"), 0, 0.2579 * 210, 0.0673 * 297,
         (0.7421 - 0.2579) * 210},
        {QStringLiteral("出産予定日："), 0, 0.2648 * 210, 0.0976 * 297},
        {QStringLiteral("【第"), 0, 0.1026 * 210, rowTop(0), 4 * column},
        {QStringLiteral("妊娠"), 0, 0.2339 * 210, rowTop(0), 4 * column},
        // The first day (after its blank) ends where "～" begins, so poppler
        // reads the two as one word. The face gives "～" and "〜" one glyph;
        // poppler reads it back as either.
        {QStringLiteral("1月29日(月)〜"), 0, 0.3349 * 210, rowTop(0), 13 * column},
        {QStringLiteral("妊娠の兆候に気づいたら、早め"), 0, 0.6076 * 210, rowTop(0), 28 * column},
        {QStringLiteral("10月"), 0, 0.3248 * 210, rowTop(36)}, // week 40 starts on the due date
        {QStringLiteral("妊娠43週"), 0, 0.2339 * 210, rowTop(39), 8 * column},
    };
    for (const Expect &e : expected) {
        int seen = 0;
        const Word *found = nullptr;
        for (const Word &w : words) {
            const QString shown = QString(w.text).replace(QChar(0xFF5E), QChar(0x301C));
            if (shown == e.text && seen++ == e.occurrence) {
                found = &w;
                break;
            }
        }
        ASSERT_NE(found, nullptr) << e.text.toStdString();
        EXPECT_NEAR(found->xMin / kPointsPerMm, e.x, 0.5) << e.text.toStdString();
        EXPECT_NEAR(found->yMin / kPointsPerMm, e.y, 0.5) << e.text.toStdString();
        if (e.width > 0) {
            const double width = (found->xMax - found->xMin) / kPointsPerMm;
            EXPECT_NEAR(width, e.width, 0.01 * e.width) << e.text.toStdString();
        }
    }

    const ProcessRun fonts = RunProgram(QStringLiteral("pdffonts"), {pdf});
    ASSERT_EQ(fonts.status, 0);
    const QStringList lines = QString::fromUtf8(fonts.out).split(QLatin1Char('\n'));
    bool embeddedGothic = false;
    for (const QString &line : lines) {
        const QStringList cols = line.simplified().split(QLatin1Char(' '));
        // name type... encoding emb sub uni object ID
        if (cols.size() >= 7 && cols.first().contains(QLatin1String("IPAGothic")))
            embeddedGothic = cols.at(cols.size() - 5) == QLatin1String("yes");
    }
    EXPECT_TRUE(embeddedGothic) << fonts.out.toStdString();
}

TEST_F(PageFileTest, UsesTheStoredNoticesAndBlockUnlessDefaults)
{
    // A store with week 4's notice and one horizontal text frame filling the
    // block's top-left quarter.
    const QString store = Path("settings.json");
    QFile file(store);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": "ralvo-settings", "version": 1, "keys": {
        "\\Software\\Quenda\\Ralvo\\2.0\\NoticeSetData": {"Not4": "ストアの注意"},
        "\\Software\\Quenda\\Ralvo\\2.0\\KikanmeiData": {
            "EditStr": "0\r\n0\r\n5000\r\n5000\r\n300\r\n0\r\nＭＳ ゴシック\r\n0\r\nL\r\nらるぼ医院\r\n"}}})");
    file.close();

    QStringList arguments = Example();
    arguments.removeAll(QStringLiteral("--defaults"));
    const QString pdf = Path("stored.pdf");
    const ProcessRun run = Tool(arguments << QStringLiteral("--settings") << store << QStringLiteral("-o") << pdf);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const ProcessRun text =
        RunProgram(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    const std::vector<Word> words = WordsOf(text.out);
    const auto find = [&words](const QString &t) {
        return std::find_if(words.begin(), words.end(), [&t](const Word &w) { return w.text == t; });
    };
    ASSERT_NE(find(QStringLiteral("ストアの注意")), words.end());
    const auto clinic = find(QStringLiteral("らるぼ医院"));
    ASSERT_NE(clinic, words.end());
    EXPECT_NEAR(clinic->xMin / kPointsPerMm, 0.0952 * 210, 0.5); // the block's left edge
    EXPECT_NEAR(clinic->yMin / kPointsPerMm, 0.7997 * 297, 0.5); // directly below the table
}

TEST_F(PageFileTest, PngIsTheWholeSheetOnWhite)
{
    const QString png = Path("x.png");
    const ProcessRun run =
        Tool(Example() << QStringLiteral("--paper") << QStringLiteral("b5") << QStringLiteral("--dpi")
                       << QStringLiteral("100") << QStringLiteral("-o") << png);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QPageSize(QPageSize::JisB5).sizePixels(100));
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 255, 255));
    // The table frame crosses the sheet's middle row at 0.0952 of the width.
    const int frameX = int(std::nearbyint(0.0952 * image.width()));
    EXPECT_LT(qGray(image.pixel(frameX, image.height() / 2)), 80);
}

TEST_F(PageFileTest, RefusalsWriteNoFile)
{
    const QString pdf = Path("refused.pdf");
    struct Case
    {
        QStringList extra;
        int status;
        const char *stderrHas;
    };
    const Case cases[] = {
        {{QStringLiteral("--paper"), QStringLiteral("a3"), QStringLiteral("-o"), pdf}, 64, "--paper"},
        {{QStringLiteral("--dpi"), QStringLiteral("0"), QStringLiteral("-o"), pdf}, 64, "--dpi"},
        {{QStringLiteral("--dpi"), QStringLiteral("2x"), QStringLiteral("-o"), pdf}, 64, "--dpi"},
        {{QStringLiteral("-o"), Path("x.txt")}, 64, "-o"},
        {{}, 64, "-o"},
    };
    for (const Case &c : cases) {
        const ProcessRun run = Tool(Example() << c.extra);
        EXPECT_EQ(run.status, c.status) << c.extra.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains(c.stderrHas)) << run.err.toStdString();
    }
    // An input that is no integer: the page would stop after its title, so
    // no file is written at all.
    QStringList bad = Example();
    bad[bad.indexOf(QStringLiteral("28"))] = QString();
    const ProcessRun run = Tool(bad << QStringLiteral("-o") << pdf);
    EXPECT_EQ(run.status, 2);
    EXPECT_FALSE(QFile::exists(pdf));
}

// The calendar page: its dates, table and headings where the page puts
// them, and the institution block in the schedule page's box.
TEST_F(PageFileTest, CalendarPageTextsStandWhereThePagePutsThem)
{
    const QString store = Path("calendar-settings.json");
    QFile file(store);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": "ralvo-settings", "version": 1, "keys": {
        "\\Software\\Quenda\\Ralvo\\2.0\\KikanmeiData": {
            "EditStr": "0\r\n0\r\n5000\r\n5000\r\n300\r\n0\r\nＭＳ ゴシック\r\n0\r\nL\r\nらるぼ医院\r\n"}}})");
    file.close();
    const QString pdf = Path("calendar.pdf");
    const ProcessRun run =
        Tool({QStringLiteral("calendar"), QStringLiteral("--settings"), store, QStringLiteral("--basis"),
              QStringLiteral("0"), QStringLiteral("--year"), QStringLiteral("2025"), QStringLiteral("--month"),
              QStringLiteral("4"), QStringLiteral("--day"), QStringLiteral("10"), QStringLiteral("--cycle"),
              QStringLiteral("28"), QStringLiteral("--name"), QStringLiteral("サンプル"), QStringLiteral("--born"),
              QStringLiteral("2026-01-20"), QStringLiteral("-o"), pdf});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const ProcessRun text =
        RunProgram(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    const std::vector<Word> words = WordsOf(text.out);
    const auto find = [&words](const QString &t) {
        return std::find_if(words.begin(), words.end(), [&t](const Word &w) { return w.text.startsWith(t); });
    };
    const auto at = [&](const QString &t, double x, double y) {
        const auto word = find(t);
        ASSERT_NE(word, words.end()) << t.toStdString();
        EXPECT_NEAR(word->xMin / kPointsPerMm, x * 210, 0.5) << t.toStdString();
        EXPECT_NEAR(word->yMin / kPointsPerMm, y * 297, 0.5) << t.toStdString();
    };
    // The title centred on the sheet at the schedule's title height.
    const auto title = find(QStringLiteral("サンプルさんの妊娠カレンダー"));
    ASSERT_NE(title, words.end());
    EXPECT_NEAR((title->xMin + title->xMax) / 2 / kPointsPerMm, 105, 1.0);
    EXPECT_NEAR(title->yMin / kPointsPerMm, 0.0673 * 297, 0.5);
    at(QStringLiteral("出産予定日"), 0.0952, 0.1040 + 0.0215);
    at(QStringLiteral("2026年1月15日"), 0.2952, 0.1040 + 0.0215);
    at(QStringLiteral("妊婦健診の目安"), 0.0952, 0.2560);
    // The first visit's week in the third column, in the row below the header.
    at(QStringLiteral("2025年6月5日"), 0.2700, 0.2800 + 0.0210 + (0.0210 - 0.0142) / 2);
    at(QStringLiteral("戌の日（帯祝い）"), 0.0952, 0.6100);
    at(QStringLiteral("2025年8月9日"), 0.1052, 0.6400);
    ASSERT_NE(find(QStringLiteral("2026年3月18日")), words.end()); // 育児休業 from B + 57
    at(QStringLiteral("らるぼ医院"), 0.0952, 0.7997);              // the schedule page's block box
}

TEST_F(PageFileTest, CalendarRefusesBadOptionsAndBirthsOutsideTheRules)
{
    const QStringList input{QStringLiteral("calendar"), QStringLiteral("--defaults"), QStringLiteral("--basis"),
                            QStringLiteral("0"),        QStringLiteral("--year"),     QStringLiteral("2025"),
                            QStringLiteral("--month"),  QStringLiteral("4"),          QStringLiteral("--day"),
                            QStringLiteral("10"),       QStringLiteral("--cycle"),    QStringLiteral("28")};
    const QString out = Path("refused.pdf");
    EXPECT_EQ(Tool(QStringList(input) << QStringLiteral("--born") << QStringLiteral("2026-02-30")
                                      << QStringLiteral("-o") << out)
                  .status,
              64);
    EXPECT_EQ(
        Tool(QStringList(input) << QStringLiteral("--checkups") << QStringLiteral("8,8") << QStringLiteral("-o") << out)
            .status,
        64);
    const ProcessRun early = Tool(QStringList(input) << QStringLiteral("--born") << QStringLiteral("2025-06-01")
                                                     << QStringLiteral("-o") << out);
    EXPECT_EQ(early.status, 2);
    EXPECT_TRUE(early.err.contains("2025/7/4")) << early.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));

    const QString png = Path("calendar.png");
    ASSERT_EQ(Tool(QStringList(input) << QStringLiteral("--checkups") << QStringLiteral("10,20,30")
                                      << QStringLiteral("--dpi") << QStringLiteral("100") << QStringLiteral("-o")
                                      << png)
                  .status,
              0);
    const QImage image(png);
    EXPECT_EQ(image.size(), QPageSize(QPageSize::A4).sizePixels(100));
}
