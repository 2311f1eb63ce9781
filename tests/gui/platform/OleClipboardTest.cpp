// The clipboard within one process (the offscreen platform shares it with no one else).
#include "platform/ole/AfxOleInit.h"
#include "platform/ole/COleDataObject.h"
#include "platform/ole/COleDataSource.h"
#include "platform/ole/ClipboardFormat.h"
#include "platform/ole/GlobalMemory.h"
#include "platform/ole/MimeFormat.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QtTest>

#include <cstring>

namespace {

int g_liveSources = 0;

class CountedSource : public COleDataSource {
public:
    CountedSource() { ++g_liveSources; }
    ~CountedSource() override { --g_liveSources; }
};

HGLOBAL BlockOf(const QByteArray& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::size_t(bytes.size()));
    std::memcpy(GlobalLock(block), bytes.constData(), std::size_t(bytes.size()));
    GlobalUnlock(block);
    return block;
}

QByteArray BytesOf(HGLOBAL block) {
    QByteArray bytes(static_cast<const char*>(GlobalLock(block)), qsizetype(GlobalSize(block)));
    GlobalUnlock(block);
    return bytes;
}

// A white 24-bit picture, bottom-up, whose top-left pixel is red.
QByteArray Picture(int width, int height) {
    const int stride = (3 * width + 3) & ~3;
    QByteArray dib(40 + stride * height, char(0xFF));
    std::memset(dib.data(), 0, 40);
    auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, dib.data() + at); };
    put32(0, 40);
    put32(4, quint32(width));
    put32(8, quint32(height));
    dib[12] = 1;
    dib[14] = 24;
    put32(20, quint32(stride * height));
    dib[40 + stride * (height - 1)] = 0;
    dib[40 + stride * (height - 1) + 1] = 0;
    return dib;
}

const QByteArray
    kRecord("\x1c\0\0\0\x0a\0\x0d\0\xff\xff\xff\xff\x0a\x0d\0\0(\0\0\0002\0\0\0<\0\0\xff", 28);

} // namespace

class OleClipboardTest : public QObject {
    Q_OBJECT
    CLIPFORMAT m_cf = 0;

    bool Available(CLIPFORMAT cf) {
        COleDataObject data;
        return data.AttachClipboard() && data.IsDataAvailable(cf);
    }
    HGLOBAL Get(CLIPFORMAT cf) {
        COleDataObject data;
        return data.AttachClipboard() ? data.GetGlobalData(cf) : nullptr;
    }

private slots:
    void initTestCase() { m_cf = CLIPFORMAT(RegisterClipboardFormatW(L"Tav.Swoop")); }

    void withoutTheServiceNothingAttachesAndAnOfferedSourceIsFreed() {
        SetOleInitFailureForTesting(true);
        QVERIFY(!AfxOleInit());
        SetOleInitFailureForTesting(false);
        COleDataObject data;
        QVERIFY(!data.AttachClipboard());
        QVERIFY(!data.IsDataAvailable(m_cf));
        auto* source = new CountedSource;
        source->CacheGlobalData(m_cf, BlockOf(kRecord));
        source->SetClipboard();
        QCOMPARE(g_liveSources, 0);
        QVERIFY(AfxOleInit());
        QVERIFY(AfxOleInit());
    }

    void recordAndPictureComeBackFromTheClipboard() {
        auto* source = new COleDataSource;
        HGLOBAL record = BlockOf(kRecord);
        source->CacheGlobalData(m_cf, record);
        source->CacheGlobalData(CF_DIB, BlockOf(Picture(50, 30)));
        source->SetClipboard();

        QVERIFY(Available(m_cf));
        QVERIFY(Available(CF_DIB));
        HGLOBAL copy = Get(m_cf);
        QVERIFY(copy);
        QVERIFY(copy != record);
        QCOMPARE(BytesOf(copy), kRecord);
        QCOMPARE(GlobalFree(copy), nullptr);
        HGLOBAL picture = Get(CF_DIB);
        QCOMPARE(BytesOf(picture), Picture(50, 30));
        GlobalFree(picture);

        // Other programs see the own format first, and a picture.
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime);
        QCOMPARE(mime->formats().value(0), QStringLiteral("Tav.Swoop"));
        QCOMPARE(mime->data("Tav.Swoop"), kRecord);
        const QImage image = QGuiApplication::clipboard()->image();
        QCOMPARE(image.size(), QSize(50, 30));
        QCOMPARE(image.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(49, 29), qRgb(255, 255, 255));
    }

    void absentFormatsAreNotAvailableAndGiveNoBlock() {
        auto* source = new COleDataSource;
        source->CacheGlobalData(m_cf, BlockOf(kRecord));
        source->SetClipboard();
        const auto other = CLIPFORMAT(RegisterClipboardFormat("Some.Other"));
        QVERIFY(!Available(other));
        QCOMPARE(Get(other), nullptr);
        QVERIFY(!Available(CF_DIB));
        QCOMPARE(Get(CF_DIB), nullptr);
    }

    void clipboardDeletesTheSourceItReplacesOrLoses() {
        auto* first = new CountedSource;
        first->CacheGlobalData(m_cf, BlockOf(kRecord));
        first->SetClipboard();
        QCOMPARE(g_liveSources, 1);
        auto* second = new CountedSource;
        second->CacheGlobalData(m_cf, BlockOf("x"));
        second->SetClipboard();
        QCOMPARE(g_liveSources, 1);
        HGLOBAL secondCopy = Get(m_cf);
        QCOMPARE(BytesOf(secondCopy), QByteArray("x"));
        GlobalFree(secondCopy);

        QGuiApplication::clipboard()->setText("plain text");
        QCOMPARE(g_liveSources, 0);
        QTRY_VERIFY(!Available(m_cf));
        QCOMPARE(Get(m_cf), nullptr);
    }

    void dataOfferedByOthersIsSeenOnceTheListIsRefreshed() {
        auto* mime = new QMimeData;
        mime->setData("Tav.Swoop", kRecord);
        QGuiApplication::clipboard()->setMimeData(mime);
        QTRY_VERIFY(Available(m_cf));
        HGLOBAL block = Get(m_cf);
        QCOMPARE(BytesOf(block), kRecord);
        GlobalFree(block);

        QImage image(20, 10, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setPixel(19, 0, qRgb(0, 0, 255));
        QGuiApplication::clipboard()->setImage(image);
        QTRY_VERIFY(Available(CF_DIB));
        QVERIFY(!Available(m_cf));
        HGLOBAL dib = Get(CF_DIB);
        QVERIFY(dib);
        const QByteArray bytes = BytesOf(dib);
        GlobalFree(dib);
        const int stride = 60;
        QCOMPARE(bytes.size(), 40 + stride * 10);
        QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 4), 20);
        QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 8), 10);
        // Top row stored last; its last pixel blue (bytes blue, green, red).
        const int topRight = 40 + stride * 9 + 3 * 19;
        QCOMPARE(quint8(bytes[topRight]), quint8(255));
        QCOMPARE(quint8(bytes[topRight + 2]), quint8(0));
    }

    void dataLargerThanABlockIsRefusedBeforeCopying() {
        QMimeData mime;
        // Not touched, so it costs address space only.
        mime.setData("Tav.Swoop",
                     QByteArray(qsizetype(kGlobalBlockMaxBytes) + 1, Qt::Uninitialized));
        QCOMPARE(GlobalDataFromMime(mime, m_cf), nullptr);
    }

    void aSourceStillOnTheClipboardAtExitIsFreed() {
        // Left on the clipboard: LeakSanitizer reports it if the clipboard does not free it.
        auto* source = new COleDataSource;
        source->CacheGlobalData(m_cf, BlockOf(kRecord));
        source->SetClipboard();
        QVERIFY(Available(m_cf));
    }
};

QTEST_MAIN(OleClipboardTest)
#include "OleClipboardTest.moc"
