// How long drawing the schedule page takes: into the preview's image at zoom
// level 0 (849 × 1201) and +2 (1351 × 1911), whole or only a scroll step's
// strip, and into a 600-dpi A4 PDF (also 1 and 51 copies of one frame,
// which tell a frame's own cost from its face's) and PNG; with an empty
// institution block, one text frame, 10 mixed frames and 200 frames of each
// kind. Run with
// QT_QPA_PLATFORM=offscreen when there is no display.

#include "benchmarks/BenchBlocks.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "print/PageGeometry.h"
#include "print/PageOutput.h"
#include "print/SchedulePage.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using ralvo::bench::FrameMix;
using ralvo::bench::NoMessages;
using ralvo::bench::NoSounds;

QTemporaryDir &PictureFolder()
{
    static QTemporaryDir folder;
    static const bool written = (ralvo::bench::WritePictures(folder.path()), true);
    (void)written;
    return folder;
}

struct Sources
{
    ralvo::ScheduleSettings settings;
    ralvo::NoticeTable notices = ralvo::DefaultNoticeTable();
    ralvo::KikanmeiBlock block;
    ralvo::PlainInputFields fields;
    NoMessages messages;
    NoSounds sounds;

    explicit Sources(ralvo::KikanmeiBlock b = {}) : block(std::move(b))
    {
        fields.year = QStringLiteral("2024");
        fields.month = QStringLiteral("1");
        fields.day = QStringLiteral("1");
        fields.mother = QStringLiteral("サンプル");
    }
    ralvo::PageSources Page() { return {settings, notices, block, fields, messages, sounds}; }
};

ralvo::KikanmeiBlock BlockOf(int mix, int count)
{
    return ralvo::bench::MakeBlock(FrameMix(mix), count, PictureFolder().path());
}

// The preview's drawing of the sheet, as its paint box does it: a white
// surface, the page with the dotted outline and 1-pixel rules, clipped to
// `exposed` (the whole sheet when empty).
void PaintPreview(QImage &image, Sources &sources, const QRect &exposed = {})
{
    image.fill(Qt::white);
    QPainter painter(&image);
    if (!exposed.isEmpty())
        painter.setClipRect(exposed);
    const ralvo::PageTarget target{&painter, image.width(), image.height(), 0, 0, 1, true};
    benchmark::DoNotOptimize(ralvo::DrawSchedulePage(target, sources.Page()));
}

void Run(benchmark::State &state, Sources &sources, QSize sheet, const QRect &exposed = {})
{
    QImage image(sheet, QImage::Format_RGB32);
    for (auto _ : state)
        PaintPreview(image, sources, exposed);
}

constexpr QSize kZoom0(849, 1201);
constexpr QSize kZoom2(1351, 1911);

void PreviewImage(benchmark::State &state)
{
    Sources sources;
    Run(state, sources, kZoom0);
}

void PreviewOneHorizontalFrame(benchmark::State &state)
{
    Sources sources(ralvo::bench::OneHorizontalFrame());
    Run(state, sources, kZoom0);
}

void PreviewOneVerticalFrame(benchmark::State &state)
{
    Sources sources(ralvo::bench::OneVerticalFrame());
    Run(state, sources, kZoom0);
}

// Arguments: the mix (0 horizontal, 1 vertical, 2 pictures, 3 mixed) and
// the number of frames.
void PreviewFrames(benchmark::State &state)
{
    Sources sources(BlockOf(int(state.range(0)), int(state.range(1))));
    Run(state, sources, kZoom0);
}

void Zoom2FullRepaint(benchmark::State &state)
{
    Sources sources(BlockOf(int(state.range(0)), int(state.range(1))));
    Run(state, sources, kZoom2);
}

// One wheel step (three lines of 20 pixels) of a scroll area 1280 pixels
// wide over the block: the strip that scrolls into view is repainted.
void Zoom2ScrollStep(benchmark::State &state)
{
    Sources sources(BlockOf(int(state.range(0)), int(state.range(1))));
    const int blockMiddle = ralvo::page::SheetMapping(kZoom2.width(), kZoom2.height())
                                .Y(ralvo::page::kTableBottom + ralvo::page::kBlockHeight / 2);
    Run(state, sources, kZoom2, QRect(0, blockMiddle, 1280, 60));
}

void A4Pdf600(benchmark::State &state)
{
    Sources sources;
    for (auto _ : state) {
        const ralvo::PageFile file = ralvo::RenderPagePdf(ralvo::PagePaper::A4, 600, sources.Page());
        benchmark::DoNotOptimize(file.bytes.size());
    }
}

void A4Pdf600OneVerticalFrame(benchmark::State &state)
{
    Sources sources(ralvo::bench::OneVerticalFrame());
    for (auto _ : state) {
        const ralvo::PageFile file = ralvo::RenderPagePdf(ralvo::PagePaper::A4, 600, sources.Page());
        benchmark::DoNotOptimize(file.bytes.size());
    }
}

void A4Pdf600OneHorizontalFrame(benchmark::State &state)
{
    Sources sources(ralvo::bench::OneHorizontalFrame());
    for (auto _ : state) {
        const ralvo::PageFile file = ralvo::RenderPagePdf(ralvo::PagePaper::A4, 600, sources.Page());
        benchmark::DoNotOptimize(file.bytes.size());
    }
}

// The first frame in a face embeds that face in the document, a cost of the
// document; every further frame costs its drawing only. With 1 and 51 copies
// of the one frame: (51 − 1) / 50 is the cost of a frame, and the first
// one's excess over A4Pdf600 less that is the face's.
void A4Pdf600VerticalFrames(benchmark::State &state)
{
    Sources sources(ralvo::bench::Copies(ralvo::bench::OneVerticalFrame(), int(state.range(0))));
    for (auto _ : state) {
        const ralvo::PageFile file = ralvo::RenderPagePdf(ralvo::PagePaper::A4, 600, sources.Page());
        benchmark::DoNotOptimize(file.bytes.size());
    }
}

void A4Pdf600HorizontalFrames(benchmark::State &state)
{
    Sources sources(ralvo::bench::Copies(ralvo::bench::OneHorizontalFrame(), int(state.range(0))));
    for (auto _ : state) {
        const ralvo::PageFile file = ralvo::RenderPagePdf(ralvo::PagePaper::A4, 600, sources.Page());
        benchmark::DoNotOptimize(file.bytes.size());
    }
}

void A4Pdf600Frames(benchmark::State &state)
{
    Sources sources(BlockOf(int(state.range(0)), int(state.range(1))));
    for (auto _ : state) {
        const ralvo::PageFile file = ralvo::RenderPagePdf(ralvo::PagePaper::A4, 600, sources.Page());
        benchmark::DoNotOptimize(file.bytes.size());
    }
}

void A4Png600(benchmark::State &state)
{
    Sources sources(BlockOf(3, 10));
    for (auto _ : state) {
        const ralvo::PageFile file = ralvo::RenderPagePng(ralvo::PagePaper::A4, 600, sources.Page());
        benchmark::DoNotOptimize(file.bytes.size());
    }
}

void Timed(benchmark::internal::Benchmark *b)
{
    b->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
}

void Kinds(benchmark::internal::Benchmark *b)
{
    Timed(b);
    b->ArgNames({"mix", "frames"});
    b->Args({3, 10});
    for (int mix : {0, 1, 2, 3})
        b->Args({mix, 200});
}

BENCHMARK(PreviewImage)->Apply(Timed);
BENCHMARK(PreviewOneHorizontalFrame)->Apply(Timed);
BENCHMARK(PreviewOneVerticalFrame)->Apply(Timed);
BENCHMARK(PreviewFrames)
    ->Apply(Timed)
    ->ArgNames({"mix", "frames"})
    ->Args({1, 10})
    ->Args({3, 10})
    ->Args({0, 200})
    ->Args({1, 200})
    ->Args({2, 200})
    ->Args({3, 200});
BENCHMARK(Zoom2FullRepaint)->Apply(Timed)->ArgNames({"mix", "frames"})->Args({3, 0})->Args({3, 10})->Args({3, 200});
BENCHMARK(Zoom2ScrollStep)->Apply(Kinds);
BENCHMARK(A4Pdf600)->Apply(Timed);
BENCHMARK(A4Pdf600OneVerticalFrame)->Apply(Timed);
BENCHMARK(A4Pdf600OneHorizontalFrame)->Apply(Timed);
BENCHMARK(A4Pdf600VerticalFrames)->Apply(Timed)->ArgName("frames")->Arg(1)->Arg(51);
BENCHMARK(A4Pdf600HorizontalFrames)->Apply(Timed)->ArgName("frames")->Arg(1)->Arg(51);
BENCHMARK(A4Pdf600Frames)->Apply(Timed)->ArgNames({"mix", "frames"})->Args({3, 10});
BENCHMARK(A4Png600)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

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
