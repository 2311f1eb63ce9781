// Recovery copies as the running program keeps them and the next start offers them, with the
// process's death played in process: the copy is brought up to date, the application object
// goes without a normal end, and a new one starts over the same folder.

#include "app/CSwoop2App.h"
#include "document/CSwoop2Doc.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CArchive.h"
#include "platform/framework/CFile.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CMemFile.h"
#include "platform/framework/CRecoveryKeeper.h"
#include "platform/ole/AfxOleInit.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <deque>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QTemporaryDir* g_stateDir = nullptr;

QString StateFolder() {
    return g_stateDir->filePath(QStringLiteral("swoop2"));
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray Serialized(CSwoop2Doc& doc) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    doc.Serialize(ar);
    ar.Close();
    const auto& data = file.GetData();
    return QByteArray(reinterpret_cast<const char*>(data.data()), qsizetype(data.size()));
}

QByteArray Read(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Sets a file's modification time that many seconds from now.
void Age(const QString& path, qint64 seconds) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(seconds),
                             QFileDevice::FileModificationTime));
}

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CSwoop2App> m_app;
    std::vector<std::string> m_messages;
    int m_answer = IDYES;
    std::deque<int> m_answers; // answered first, in order; then m_answer
    QTemporaryDir m_files;

    CFrameWnd* Frame() const { return dynamic_cast<CFrameWnd*>(m_app->m_pMainWnd); }
    CSwoop2Doc* Doc() const { return static_cast<CSwoop2Doc*>(Frame()->GetActiveDocument()); }
    CRecoveryKeeper* Keeper() const { return m_app->GetRecoveryKeeper(); }
    QStatusBar* StatusBar() const {
        return static_cast<QMainWindow*>(Frame()->GetWidget())->statusBar();
    }

    bool Start(std::vector<std::string> arguments = {}) {
        m_messages.clear();
        m_app = std::make_unique<CSwoop2App>();
        m_app->m_arguments = std::move(arguments);
        return m_app->InitInstance();
    }
    // A program that ends without a normal end once its copy holds every change: destroyed as
    // exit() destroys it when the display goes away, which is no different on the disk from
    // a killed one.
    void Crash() {
        QVERIFY(Keeper()->FlushForTesting());
        m_app.reset();
    }
    void Draw(std::initializer_list<CPoint> points) {
        CCurve* curve = Doc()->NewCurve();
        for (CPoint pt : points) {
            curve->m_points.push_back(pt);
            Doc()->SetModifiedFlag();
        }
    }
    // The one left-over copy of the folder.
    QString CopyPath() const {
        const QStringList copies = QDir(StateFolder()).entryList({"*.drawing"}, QDir::Files);
        return copies.size() == 1 ? QDir(StateFolder()).filePath(copies[0]) : QString();
    }

private slots:
    void init() {
        m_answer = IDYES;
        m_answers.clear();
        SetMessageBoxHook([this](const std::string& text, UINT) {
            m_messages.push_back(text);
            if (m_answers.empty())
                return m_answer;
            const int answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        });
    }

    void cleanup() {
        CRecoveryKeeper::SetStepHookForTesting({});
        AfxResetFileSystemCalls();
        m_app.reset();
        ::signal(SIGCHLD, SIG_DFL);
        SetFileDialogHook({});
        SetMessageBoxHook({});
        QDir(StateFolder()).removeRecursively();
        qunsetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", g_stateDir->path().toLocal8Bit());
    }

    void offerNamesTheDrawingAndTheTimeOfItsCopy() {
        QVERIFY(Start());
        const std::string path = m_files.filePath("garden").toStdString();
        Doc()->SetPathName(path, false);
        Draw({{10, 20}, {30, 40}});
        Crash();
        const QString copy = CopyPath();
        const QString when =
            QFileInfo(copy).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        m_answer = IDNO;
        QVERIFY(Start());
        QCOMPARE(m_messages, std::vector<std::string>{"Changes to garden were not saved when "
                                                      "Swoop2 last ended.\nRecover the copy "
                                                      "kept at " +
                                                      when.toStdString() + "?"});
        QVERIFY(!QFile::exists(copy));
        QVERIFY(Doc()->m_curves.empty());
    }

    // The copy is untrusted: damage in the drawing is reported as a file's would be, and the
    // copy stays for the user but is never offered again; damage in the info alone loses
    // only the name.
    void damagedCopiesAreReportedAndKept_data() {
        QTest::addColumn<QByteArray>("drawing");
        QTest::addColumn<QByteArray>("info");
        QTest::addColumn<QString>("failure");
        const QByteArray good("\x01\0\0\0\x02\0\0\0\x0a\0\0\0\x14\0\0\0\x1e\0\0\0\x28\0\0\0", 24);
        const QString ended = QStringLiteral("The file ended before the drawing was complete.");
        QTest::newRow("truncated") << good.left(20) << QByteArray() << ended;
        QTest::newRow("count beyond the data")
            << QByteArray("\xff\xff\xff\x7f\x02\0\0\0", 8) << QByteArray() << ended;
        QTest::newRow("info of another form") << good << QByteArray(5000, '\xff') << QString();
        QTest::newRow("info with a relative path")
            << good << QByteArray("recovery copy 1\n../../etc/passwd") << QString();
        QTest::newRow("info with a path not normal")
            << good << QByteArray("recovery copy 1\n/tmp/../etc/passwd") << QString();
        QTest::newRow("info naming a folder")
            << good << ("recovery copy 1\n" + QDir::tempPath().toLocal8Bit()) << QString();
    }
    void damagedCopiesAreReportedAndKept() {
        QFETCH(QByteArray, drawing);
        QFETCH(QByteArray, info);
        QFETCH(QString, failure);
        QVERIFY(Start());
        Draw({{1, 2}});
        Crash();
        const QString copy = CopyPath();
        {
            QFile out(copy);
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(drawing);
        }
        if (!info.isEmpty()) {
            QFile out(QString(copy).replace(".drawing", ".info"));
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(info);
        }

        QVERIFY(Start());
        QVERIFY(QString::fromStdString(m_messages.at(0)).startsWith("Changes to Untitled "));
        if (failure.isEmpty()) {
            QCOMPARE(m_messages.size(), std::size_t(1));
            QCOMPARE(Serialized(*Doc()), drawing);
            QVERIFY(Doc()->IsModified());
            return;
        }
        QCOMPARE(m_messages.size(), std::size_t(2));
        QCOMPARE(QString::fromStdString(m_messages[1]),
                 "Could not open \"" + copy + "\".\n" + failure);
        QVERIFY(Doc()->m_curves.empty());
        QVERIFY(!Doc()->IsModified());
        QCOMPARE(Frame()->GetWidget()->windowTitle(), QStringLiteral("Untitled - Swoop2"));
        QCOMPARE(Read(copy), drawing);
        m_app.reset();
        QVERIFY(Start());
        QVERIFY(m_messages.empty());
        QCOMPARE(Read(copy), drawing);
        // Kept for a month, then gone.
        m_app.reset();
        Age(copy, -29 * 24 * 3600);
        QVERIFY(Start());
        QCOMPARE(Read(copy), drawing);
        m_app.reset();
        Age(copy, -31 * 24 * 3600);
        QVERIFY(Start());
        QCOMPARE(FilesIn(StateFolder()), QStringList());
    }

    // Copies that cannot be written are said once in the status bar, however often the
    // writer fails, and the next copy written takes the message away; the program goes on.
    void unwritableCopiesAreSaidOnceAndClearedByTheNextCopy_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("folder is a file") << "folder";
        QTest::newRow("disk full") << "write";
        QTest::newRow("sync fails") << "sync";
        QTest::newRow("rename fails") << "rename";
        QTest::newRow("folder sync fails") << "folder sync";
    }
    void unwritableCopiesAreSaidOnceAndClearedByTheNextCopy() {
        QFETCH(QString, how);
        const QString blocked = m_files.filePath("blocked");
        if (how == "folder") {
            QFile file(blocked);
            QVERIFY(file.open(QIODevice::WriteOnly));
            qputenv("XDG_STATE_HOME", (blocked + "/state").toLocal8Bit());
        } else if (how == "write") {
            AfxFileSystemCalls().write = [](int, const void*, std::size_t) -> ssize_t {
                errno = ENOSPC;
                return -1;
            };
        } else if (how == "sync") {
            AfxFileSystemCalls().fdatasync = [](int) {
                errno = EIO;
                return -1;
            };
        } else if (how == "rename") {
            AfxFileSystemCalls().renameat = [](int, const char*, int, const char*) {
                errno = EROFS;
                return -1;
            };
        } else {
            AfxFileSystemCalls().fsync = [](int) {
                errno = EIO;
                return -1;
            };
        }
        QVERIFY(Start());
        const QString text = QStringLiteral("Recovery copies cannot be kept: save your changes");
        int said = 0;
        connect(StatusBar(), &QStatusBar::messageChanged, this,
                [&](const QString& shown) { said += shown == text; });
        Draw({{1, 2}});
        QVERIFY(!Keeper()->FlushForTesting());
        QCOMPARE(StatusBar()->currentMessage(), text);
        // A prompt under the pointer takes the message's place; the idle text follows it.
        StatusBar()->showMessage(QStringLiteral("Open an existing document"));
        StatusBar()->clearMessage();
        Draw({{3, 4}});
        QVERIFY(!Keeper()->FlushForTesting());
        QCOMPARE(StatusBar()->currentMessage(), QStringLiteral("Ready"));
        QCOMPARE(said, 1);
        Draw({{5, 6}});
        QVERIFY(!Keeper()->FlushForTesting());
        StatusBar()->showMessage(text);

        AfxResetFileSystemCalls();
        QFile::remove(blocked);
        Draw({{7, 8}});
        QVERIFY(Keeper()->FlushForTesting());
        QCOMPARE(StatusBar()->currentMessage(), QStringLiteral("Ready"));
        QCOMPARE(Read(QString::fromStdString(Keeper()->CopyPath())), Serialized(*Doc()));
        QVERIFY(m_messages.empty());
    }

    // A program that dies while its copy is being replaced leaves a whole copy: the previous
    // one until the new one has its name, the new one after.
    void deathDuringTheReplacementLeavesAWholeCopy_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("newer");
        QTest::newRow("written") << int(CRecoveryKeeper::Step::TempWritten) << false;
        QTest::newRow("synced") << int(CRecoveryKeeper::Step::TempSynced) << false;
        QTest::newRow("renamed") << int(CRecoveryKeeper::Step::Renamed) << true;
        QTest::newRow("folder synced") << int(CRecoveryKeeper::Step::FolderSynced) << true;
    }
    void deathDuringTheReplacementLeavesAWholeCopy() {
        QFETCH(int, step);
        QFETCH(bool, newer);
        QVERIFY(Start());
        const std::string path = m_files.filePath("pond").toStdString();
        Doc()->SetPathName(path, false);
        Draw({{1, 2}, {3, 4}});
        QVERIFY(Keeper()->FlushForTesting());
        const QByteArray before = Serialized(*Doc());
        Draw({{5, 6}});
        const QByteArray after = Serialized(*Doc());
        // A longer file left by an earlier writer must not lend the new copy its tail.
        Write(QString::fromStdString(Keeper()->CopyPath()) + ".tmp", QByteArray(4096, '\x7f'));
        CRecoveryKeeper::SetStepHookForTesting([step](CRecoveryKeeper::Step reached) {
            if (int(reached) == step)
                ::_exit(3);
        });
        QVERIFY(!Keeper()->FlushForTesting());
        CRecoveryKeeper::SetStepHookForTesting({});
        m_app.reset();
        QCOMPARE(Read(CopyPath()), newer ? after : before);

        QVERIFY(Start());
        QCOMPARE(m_messages.size(), std::size_t(1));
        QCOMPARE(Serialized(*Doc()), newer ? after : before);
        QCOMPARE(Doc()->GetPathName(), path);
        QVERIFY(Doc()->IsModified());
        QVERIFY(!QFile::exists(QString::fromStdString(path)));
        // What the dead writer left half done is gone; the recovered drawing has its copy.
        QVERIFY(Keeper()->FlushForTesting());
        for (const QString& name : FilesIn(StateFolder()))
            QVERIFY2(!name.endsWith(".tmp"), qPrintable(name));
    }

    // A file named on the command line opens once the offer is answered: after a declined
    // offer as at any start, and after a recovery as File > Open would, asking about the
    // recovered drawing first. A file that cannot be opened then leaves the recovered drawing.
    void aFileNamedOnTheCommandLineOpensAfterTheOffer_data() {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<int>("messages");
        QTest::addColumn<int>("curves");
        QTest::newRow("declined") << QList<int>{IDNO} << true << 1 << 0;
        QTest::newRow("recovered, then not saved") << QList<int>{IDYES, IDNO} << true << 2 << 0;
        QTest::newRow("recovered, open cancelled") << QList<int>{IDYES, IDCANCEL} << true << 2 << 1;
        QTest::newRow("recovered, no such file") << QList<int>{IDYES, IDNO} << false << 3 << 1;
    }
    void aFileNamedOnTheCommandLineOpensAfterTheOffer() {
        QFETCH(QList<int>, answers);
        QFETCH(bool, fileExists);
        QFETCH(int, messages);
        QFETCH(int, curves);
        const QString file = m_files.filePath("named");
        QFile::remove(file);
        if (fileExists) {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(QByteArray(4, '\0'));
        }
        QVERIFY(Start());
        Draw({{1, 2}});
        Crash();
        m_answers.assign(answers.begin(), answers.end());
        QVERIFY(Start({file.toStdString()}));
        QCOMPARE(int(m_messages.size()), messages);
        QVERIFY(QString::fromStdString(m_messages[0]).startsWith("Changes to Untitled "));
        QCOMPARE(int(Doc()->m_curves.size()), curves);
        QCOMPARE(Doc()->IsModified(), curves == 1);
        QCOMPARE(CopyPath().isEmpty(), curves == 0);
        QCOMPARE(Frame()->GetWidget()->windowTitle(), curves == 1
                                                          ? QStringLiteral("Untitled - Swoop2")
                                                          : QStringLiteral("named - Swoop2"));
    }

    // Undo back to the recovered drawing does not reach a saved state: no file holds it.
    void undoAfterARecoveryKeepsTheDrawingUnsaved() {
        QVERIFY(Start());
        Draw({{1, 2}});
        Crash();
        QVERIFY(Start());
        const QString copy = CopyPath();
        CCurve* curve = Doc()->NewCurve();
        Doc()->AppendPoint(curve, {7, 8});
        QVERIFY(Doc()->Undo());
        QVERIFY(Doc()->IsModified());
        QVERIFY(Keeper()->FlushForTesting());
        QVERIFY(QFile::exists(copy));
        m_messages.clear();
        m_answer = IDCANCEL;
        QVERIFY(!m_app->SaveAllModified());
        QCOMPARE(m_messages, std::vector<std::string>{"Save changes to Untitled?"});
    }

    // Of copies left by two programs, one is offered at a start, the newest, naming how many
    // curves an untitled drawing holds; the other waits on the disk for the next start.
    void twoLeftOverCopiesGiveOneOfferAStart() {
        QVERIFY(Start());
        Draw({{1, 2}});
        Crash();
        const QString first = CopyPath();
        const QString other = QFileInfo(first).dir().filePath("999-0000000000000001.drawing");
        for (const char* suffix : {".drawing", ".info", ".lock"})
            QVERIFY(QFile::copy(QString(first).replace(".drawing", suffix),
                                QString(other).replace(".drawing", suffix)));
        CSwoop2Doc two;
        two.m_curves.push_back(std::make_unique<CCurve>());
        two.m_curves.push_back(std::make_unique<CCurve>());
        Write(other, Serialized(two));
        Age(other, -60);

        m_answer = IDNO;
        QVERIFY(Start());
        QCOMPARE(m_messages.size(), std::size_t(1));
        QVERIFY2(m_messages[0].starts_with("Changes to Untitled (curves: 1) "),
                 m_messages[0].c_str());
        QVERIFY(!QFile::exists(first));
        QVERIFY(QFile::exists(other));
        m_app.reset();
        QVERIFY(Start());
        QCOMPARE(m_messages.size(), std::size_t(1));
        QVERIFY2(m_messages[0].starts_with("Changes to Untitled (curves: 2) "),
                 m_messages[0].c_str());
        QCOMPARE(FilesIn(StateFolder()), QStringList());
    }

    // A copy of another user (left in the folder by a program run as root with the user's
    // environment, say) is neither offered nor touched.
    void copiesOfAnotherUserAreLeftAlone() {
        if (::geteuid() != 0)
            QSKIP("only root can give a file to another user");
        QVERIFY(Start());
        Draw({{1, 2}});
        Crash();
        const QString copy = CopyPath();
        const QByteArray bytes = Read(copy);
        for (const char* suffix : {".drawing", ".lock"}) {
            const QString name = QString(copy).replace(".drawing", suffix);
            QVERIFY(::chown(name.toLocal8Bit().constData(), 65534, 65534) == 0);
        }
        QVERIFY(Start());
        QVERIFY(m_messages.empty());
        QCOMPARE(Read(copy), bytes);
        QVERIFY(QFile::exists(QString(copy).replace(".drawing", ".lock")));
    }

    // A file written after the copy was kept is named in the offer, and Save asks before
    // replacing it: Cancel keeps it, No offers another name, Yes replaces it.
    void aFileChangedSinceItsCopyIsReplacedOnlyAfterAsking() {
        const QString path = m_files.filePath("meadow");
        const QByteArray theirs("\0\0\0\0", 4);
        Write(path, QByteArray(8, '\0'));
        Age(path, -120);
        QVERIFY(Start());
        Doc()->SetPathName(path.toStdString(), false);
        Draw({{1, 2}});
        Crash();
        Write(path, theirs);
        Age(path, 60);
        QVERIFY(Start());
        QCOMPARE(m_messages.size(), std::size_t(1));
        QVERIFY2(m_messages[0].find("\nmeadow has changed on the disk since the copy was kept."
                                    "\nRecover ") != std::string::npos,
                 m_messages[0].c_str());
        const QByteArray recovered = Serialized(*Doc());
        std::string offered;
        SetFileDialogHook([&](bool, std::string& name) {
            offered = name;
            return false;
        });
        m_answers = {IDCANCEL, IDNO};
        Doc()->OnFileSave();
        QCOMPARE(Read(path), theirs);
        Doc()->OnFileSave();
        QCOMPARE(Read(path), theirs);
        QCOMPARE(QString::fromStdString(offered), path);
        SetFileDialogHook({});
        m_messages.clear();
        Doc()->OnFileSave();
        QCOMPARE(m_messages.size(), std::size_t(1));
        QVERIFY2(m_messages[0].starts_with("meadow has changed on the disk since the recovery "
                                           "copy was kept.\nReplace it"),
                 m_messages[0].c_str());
        QCOMPARE(Read(path), recovered);
        QVERIFY(!Doc()->IsModified());
        Draw({{3, 4}});
        m_messages.clear();
        Doc()->OnFileSave();
        QVERIFY(m_messages.empty());
    }

    // The folder is the user's alone: one open to others is closed; a link, or another user's
    // folder, is refused and copies are said to be impossible.
    void theStateFolderIsTheUsersAlone_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("kept");
        QTest::newRow("open to others") << "open" << true;
        QTest::newRow("a link") << "link" << false;
        QTest::newRow("another user's") << "foreign" << false;
    }
    void theStateFolderIsTheUsersAlone() {
        QFETCH(QString, folder);
        QFETCH(bool, kept);
        const QString target = m_files.filePath("elsewhere");
        QDir().mkpath(target);
        if (folder == "link") {
            QVERIFY(QFile::link(target, StateFolder()));
        } else {
            QVERIFY(QDir().mkpath(StateFolder()));
            QVERIFY(::chmod(StateFolder().toLocal8Bit().constData(), 0755) == 0);
            if (folder == "foreign") {
                if (::geteuid() != 0)
                    QSKIP("only root can give a folder to another user");
                QVERIFY(::chown(StateFolder().toLocal8Bit().constData(), 65534, 65534) == 0);
            }
        }
        QVERIFY(Start());
        Draw({{1, 2}});
        QCOMPARE(Keeper()->FlushForTesting(), kept);
        QCOMPARE(FilesIn(target), QStringList());
        struct stat st {};
        QVERIFY(::lstat(StateFolder().toLocal8Bit().constData(), &st) == 0);
        if (kept) {
            QCOMPARE(st.st_mode & 0777, 0700u);
            return;
        }
        QCOMPARE(StatusBar()->currentMessage(),
                 QStringLiteral("Recovery copies cannot be kept: save your changes"));
        QCOMPARE(FilesIn(StateFolder()), QStringList());
        QFile::remove(StateFolder());
    }

    // Writers are waited for whatever SIGCHLD disposition the program inherited, and one still
    // at work when its document goes is waited for all the same.
    void writersAreWaitedForWhateverTheInheritedSignals_data() {
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("ignored");
        QTest::newRow("ignored") << 0 << true;
        QTest::newRow("no child wait") << int(SA_NOCLDWAIT) << false;
    }
    void writersAreWaitedForWhateverTheInheritedSignals() {
        QFETCH(int, flags);
        QFETCH(bool, ignored);
        struct sigaction inherited {};
        inherited.sa_handler = ignored ? SIG_IGN : SIG_DFL;
        inherited.sa_flags = flags;
        QVERIFY(::sigaction(SIGCHLD, &inherited, nullptr) == 0);
        QVERIFY(Start());
        Draw({{1, 2}});
        QVERIFY(Keeper()->FlushForTesting());
        QCOMPARE(StatusBar()->currentMessage(), QStringLiteral("Ready"));

        CRecoveryKeeper::SetStepHookForTesting([](CRecoveryKeeper::Step step) {
            if (step == CRecoveryKeeper::Step::TempWritten)
                ::usleep(200000);
        });
        Draw({{3, 4}});
        QTRY_VERIFY_WITH_TIMEOUT(Keeper()->IsWriterRunning(), 10000);
        m_app->CloseAllDocuments();
        QTRY_VERIFY_WITH_TIMEOUT(!Keeper()->IsWriterRunning(), 60000);
        QVERIFY(QFile::exists(CopyPath()));
    }

    // Copies that keep failing are tried less and less often, up to once a minute, and the
    // next change tries again at the usual pace.
    void failingCopiesBackOffUntilTheNextChange() {
        AfxFileSystemCalls().fdatasync = [](int) {
            errno = EIO;
            return -1;
        };
        QVERIFY(Start());
        Draw({{1, 2}});
        for (const int seconds : {1, 2, 4, 8, 16, 32, 60, 60}) {
            QVERIFY(!Keeper()->FlushForTesting());
            QCOMPARE(Keeper()->GetRetryDelay().count(), seconds * 1000);
        }
        Draw({{3, 4}});
        QCOMPARE(Keeper()->GetRetryDelay().count(), 1000);
    }

    // A live program's copy is never offered to another, and what a program ending normally
    // leaves is nothing.
    void onlyCopiesOfEndedProgramsAreOffered() {
        QVERIFY(Start());
        Draw({{1, 2}});
        QVERIFY(Keeper()->FlushForTesting());
        CRecoveryKeeper other(Keeper()->GetFolder());
        QVERIFY(other.ClaimLeftOvers().empty());
        QVERIFY(QFile::exists(QString::fromStdString(Keeper()->CopyPath())));
        // Saved: nothing is left that a start after a kill would have to clear.
        Doc()->SetModifiedFlag(false);
        QCOMPARE(FilesIn(StateFolder()), QStringList());
        Draw({{3, 4}});
        QVERIFY(Keeper()->FlushForTesting());
        m_app->EndRecoveryCopies();
        m_app.reset();
        QCOMPARE(FilesIn(StateFolder()), QStringList());
    }
};

int main(int argc, char** argv) {
    QTemporaryDir config;
    QTemporaryDir state;
    g_stateDir = &state;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    QApplication app(argc, argv);
    RecoveryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RecoveryTest.moc"
