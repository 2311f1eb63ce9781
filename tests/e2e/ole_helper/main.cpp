// Test helper: offers, reads and drags data through the data-transfer service, as the program
// does, and reports on standard output.
//   ole_helper offer RECORD-FILE WIDTH HEIGHT   own record and a picture on the clipboard; runs
//   ole_helper paste OUT-FILE                   waits for the own format, writes its bytes
//   ole_helper probe READY-FILE GO-FILE         times 100 availability questions once GO exists
//   ole_helper window TITLE X Y [RECORD-FILE]   a window that drags the record and takes drops
#include "HelperView.h"

#include "platform/ole/AfxOleInit.h"
#include "platform/ole/COleDataObject.h"
#include "platform/ole/COleDataSource.h"
#include "platform/ole/ClipboardFormat.h"
#include "platform/ole/GlobalMemory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <functional>

namespace {

UINT g_format = 0;

class ReportingSource : public COleDataSource {
public:
    ~ReportingSource() override {
        std::printf("source deleted\n");
        std::fflush(stdout);
    }
};

HGLOBAL BlockOf(const QByteArray& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::size_t(bytes.size()));
    if (block && !bytes.isEmpty())
        std::memcpy(GlobalLock(block), bytes.constData(), std::size_t(bytes.size()));
    GlobalUnlock(block);
    return block;
}

void Put32(QByteArray& bytes, int offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char(value >> (8 * i));
}

// A white picture, 24 bits, bottom-up, with a red top-left pixel.
QByteArray Picture(int width, int height) {
    const int stride = (3 * width + 3) & ~3;
    QByteArray dib(40 + stride * height, char(0xFF));
    std::memset(dib.data(), 0, 40);
    Put32(dib, 0, 40);
    Put32(dib, 4, std::uint32_t(width));
    Put32(dib, 8, std::uint32_t(height));
    dib[12] = 1;
    dib[14] = 24;
    Put32(dib, 20, std::uint32_t(stride * height));
    const int topRow = 40 + stride * (height - 1);
    dib[topRow] = 0;
    dib[topRow + 1] = 0;
    return dib;
}

QByteArray ReadFile(const char* path) {
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool Available(CLIPFORMAT cf) {
    COleDataObject data;
    return data.AttachClipboard() && data.IsDataAvailable(cf);
}

// Calls `then` once the clipboard offers the own format, or quits with status 2 after 10 s.
void WhenAvailable(std::function<void()> then) {
    auto* poll = new QTimer(qApp);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, then] {
        if (Available(CLIPFORMAT(g_format))) {
            poll->stop();
            then();
        } else if (clock.elapsed() > 10000) {
            std::printf("not available\n");
            QCoreApplication::exit(2);
        }
    });
    poll->start(20);
}

int Offer(char** argv) {
    auto* source = new ReportingSource;
    source->CacheGlobalData(CLIPFORMAT(g_format), BlockOf(ReadFile(argv[2])));
    source->CacheGlobalData(CF_DIB, BlockOf(Picture(std::atoi(argv[3]), std::atoi(argv[4]))));
    source->SetClipboard();
    std::printf("ready\n");
    std::fflush(stdout);
    return QApplication::exec();
}

int Paste(char** argv) {
    const QString out = QString::fromLocal8Bit(argv[2]);
    WhenAvailable([out] {
        COleDataObject data;
        data.AttachClipboard();
        HGLOBAL block = data.GetGlobalData(CLIPFORMAT(g_format));
        if (!block) {
            std::printf("no data\n");
            QCoreApplication::exit(3);
            return;
        }
        QFile file(out);
        const bool written = file.open(QIODevice::WriteOnly) &&
                             file.write(static_cast<const char*>(GlobalLock(block)),
                                        qint64(GlobalSize(block))) == qint64(GlobalSize(block));
        GlobalUnlock(block);
        GlobalFree(block);
        std::printf("pasted %d\n", int(written));
        QCoreApplication::exit(written ? 0 : 4);
    });
    return QApplication::exec();
}

int Probe(char** argv) {
    const QString ready = QString::fromLocal8Bit(argv[2]);
    const QString go = QString::fromLocal8Bit(argv[3]);
    WhenAvailable([ready, go] {
        QFile(ready).open(QIODevice::WriteOnly);
        auto* wait = new QTimer(qApp);
        QObject::connect(wait, &QTimer::timeout, [wait, go] {
            if (!QFile::exists(go))
                return;
            wait->stop();
            QElapsedTimer clock;
            clock.start();
            int answered = 0;
            for (int i = 0; i < 100; ++i)
                answered += Available(CLIPFORMAT(g_format)) ? 1 : 0;
            std::printf("elapsed_ms %lld available %d\n", clock.elapsed(), answered);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
        wait->start(20);
    });
    return QApplication::exec();
}

int Window(int argc, char** argv) {
    const QByteArray record = argc > 5 ? ReadFile(argv[5]) : QByteArray();
    HelperView view(record, g_format);
    view.Widget()->setWindowTitle(QString::fromLocal8Bit(argv[2]));
    view.Widget()->move(std::atoi(argv[3]), std::atoi(argv[4]));
    view.Widget()->show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (!AfxOleInit()) {
        std::printf("AfxOleInit failed\n");
        return 1;
    }
    g_format = RegisterClipboardFormatW(L"Tav.Swoop");
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "offer" && argc == 5)
        return Offer(argv);
    if (mode == "paste" && argc == 3)
        return Paste(argv);
    if (mode == "probe" && argc == 4)
        return Probe(argv);
    if (mode == "window" && argc >= 5)
        return Window(argc, argv);
    std::fprintf(stderr, "usage: ole_helper offer|paste|probe|window ...\n");
    return 64;
}
