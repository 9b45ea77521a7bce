// How long drawing the schedule page takes: into the preview's image at zoom
// level 2 (849 × 1201, default settings, no pictures) and into a 600-dpi A4
// PDF. Run with QT_QPA_PLATFORM=offscreen when there is no display.

#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "print/PageOutput.h"
#include "print/SchedulePage.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

class NoMessages final : public ralvo::platform::Messages
{
public:
    void ShowMessage(const QString &) override {}
    Answer Ask(const Question &q) override { return q.defaultAnswer; }
};

class NoSounds final : public ralvo::platform::Sounds
{
public:
    void Beep() override {}
    void Exclamation() override {}
};

struct Sources
{
    ralvo::ScheduleSettings settings;
    ralvo::NoticeTable notices = ralvo::DefaultNoticeTable();
    ralvo::KikanmeiBlock block;
    ralvo::PlainInputFields fields;
    NoMessages messages;
    NoSounds sounds;

    Sources()
    {
        fields.year = QStringLiteral("2024");
        fields.month = QStringLiteral("1");
        fields.day = QStringLiteral("1");
        fields.mother = QStringLiteral("サンプル");
    }
    ralvo::PageSources Page()
    {
        return {settings, notices, block, fields, messages, sounds};
    }
};

void PreviewImage(benchmark::State &state)
{
    Sources sources;
    QImage image(849, 1201, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        ralvo::PageTarget target{&painter, 849, 1201, 0, 0, 1, true};
        benchmark::DoNotOptimize(ralvo::DrawSchedulePage(target, sources.Page()));
    }
}
BENCHMARK(PreviewImage)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

void A4Pdf600(benchmark::State &state)
{
    Sources sources;
    for (auto _ : state) {
        const ralvo::PageFile file = ralvo::RenderPagePdf(ralvo::PagePaper::A4, 600, sources.Page());
        benchmark::DoNotOptimize(file.bytes.size());
    }
}
BENCHMARK(A4Pdf600)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ralvo::platform::InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
