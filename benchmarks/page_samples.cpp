// Writes the page drawings the benchmarks time into a folder, so that two
// builds can be compared file by file (scripts/compare-page-outputs.sh):
// preview images at zoom 0 and +2, also painted strip by strip as scrolling
// paints them, the 600-dpi PDF and PNG, for the benchmark blocks.
//   page_samples OUTPUT-FOLDER
//   page_samples --same-pixels A.png B.png   (exit 0 when the pixels and
//                                             resolutions are equal)

#include "benchmarks/BenchBlocks.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "print/PageOutput.h"
#include "print/SchedulePage.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using ralvo::bench::FrameMix;
using ralvo::bench::NoMessages;
using ralvo::bench::NoSounds;

struct Sample
{
    QString name;
    ralvo::KikanmeiBlock block;
};

bool Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--same-pixels") == 0) {
        QImageReader::setAllocationLimit(0);
        const QImage a(QString::fromLocal8Bit(argv[2]));
        const QImage b(QString::fromLocal8Bit(argv[3]));
        const bool same = !a.isNull() && a.size() == b.size() && a.dotsPerMeterX() == b.dotsPerMeterX()
                          && a.dotsPerMeterY() == b.dotsPerMeterY()
                          && a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
        return same ? 0 : 1;
    }
    if (argc != 2) {
        std::fputs("usage: page_samples OUTPUT-FOLDER\n", stderr);
        return 2;
    }
    ralvo::platform::InstallFontSubstitutions();
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    QTemporaryDir pictures;
    ralvo::bench::WritePictures(pictures.path());

    const Sample samples[] = {
        {QStringLiteral("empty"), {}},
        {QStringLiteral("one-vertical"), ralvo::bench::OneVerticalFrame()},
        {QStringLiteral("one-horizontal"), ralvo::bench::OneHorizontalFrame()},
        {QStringLiteral("mixed-10"), ralvo::bench::MakeBlock(FrameMix::Mixed, 10, pictures.path())},
        {QStringLiteral("mixed-200"), ralvo::bench::MakeBlock(FrameMix::Mixed, 200, pictures.path())},
        {QStringLiteral("vertical-200"), ralvo::bench::MakeBlock(FrameMix::Vertical, 200, pictures.path())},
    };
    bool ok = true;
    for (const Sample &sample : samples) {
        ralvo::ScheduleSettings settings;
        const ralvo::NoticeTable notices = ralvo::DefaultNoticeTable();
        ralvo::KikanmeiBlock block = sample.block;
        ralvo::PlainInputFields fields;
        fields.year = QStringLiteral("2024");
        fields.month = QStringLiteral("1");
        fields.day = QStringLiteral("1");
        fields.mother = QStringLiteral("サンプル");
        NoMessages messages;
        NoSounds sounds;
        const ralvo::PageSources sources{settings, notices, block, fields, messages, sounds};

        for (const QSize sheet : {QSize(849, 1201), QSize(1351, 1911)}) {
            const QString stem = out.filePath(sample.name + QStringLiteral("-preview-%1").arg(sheet.width()));
            QImage whole(sheet, QImage::Format_RGB32);
            whole.fill(Qt::white);
            {
                QPainter painter(&whole);
                ralvo::DrawSchedulePage({&painter, sheet.width(), sheet.height(), 0, 0, 1, true}, sources);
            }
            ok = whole.save(stem + QStringLiteral(".png")) && ok;
            // Scrolling: the sheet painted in strips of 60 rows, each under
            // its own clip, onto one surface.
            QImage strips(sheet, QImage::Format_RGB32);
            strips.fill(Qt::white);
            for (int y = 0; y < sheet.height(); y += 60) {
                QPainter painter(&strips);
                painter.setClipRect(QRect(0, y, sheet.width(), 60));
                ralvo::DrawSchedulePage({&painter, sheet.width(), sheet.height(), 0, 0, 1, true}, sources);
            }
            ok = strips.save(stem + QStringLiteral("-strips.png")) && ok;
        }
        const ralvo::PageFile pdf = ralvo::RenderPagePdf(ralvo::PagePaper::A4, 600, sources);
        ok = Write(out.filePath(sample.name + QStringLiteral("-600.pdf")), pdf.bytes) && ok;
        if (sample.name != QLatin1String("mixed-200") && sample.name != QLatin1String("vertical-200")) {
            const ralvo::PageFile png = ralvo::RenderPagePng(ralvo::PagePaper::A4, 600, sources);
            ok = Write(out.filePath(sample.name + QStringLiteral("-600.png")), png.bytes) && ok;
        }
    }
    return ok ? 0 : 1;
}
