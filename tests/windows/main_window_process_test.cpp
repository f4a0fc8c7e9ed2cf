#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

// The real program in a program folder of its own, stopped the way a service manager or a
// terminal would stop it.
namespace {

class ProgramProcessTest : public ::testing::TestWithParam<int> {
protected:
    QTemporaryDir dir;

    QString installProgram() {
        const QString source = QStringLiteral(DLMANAGER_EXECUTABLE);
        const QString target = dir.filePath("dlmanager");
        EXPECT_TRUE(QFile::copy(source, target));
        // Libraries the program finds beside itself come along.
        const QDir sourceFolder = QFileInfo(source).dir();
        for (const QString& library : sourceFolder.entryList({"*.so", "*.so.*"}, QDir::Files)) {
            QFile::copy(sourceFolder.filePath(library), dir.filePath(library));
        }
        return target;
    }
};

TEST_P(ProgramProcessTest, SignalClosesTheWindowAndTheSettingsAreWritten) {
    const QString program = installProgram();
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(program, {});
    ASSERT_TRUE(process.waitForStarted(10000));

    // Start-up has run once the folders exist; then the window is up within moments.
    for (int i = 0; i < 200 && !QFileInfo(dir.filePath("PROJECTS")).isDir(); ++i) {
        QThread::msleep(50);
    }
    ASSERT_TRUE(QFileInfo(dir.filePath("MASTER")).isDir());
    QThread::msleep(500);

    ::kill(static_cast<pid_t>(process.processId()), GetParam());
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);

    QFile settings(dir.filePath("Quandor.ini"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_EQ(settings.readAll(), "[lastproj]\nprojectname=\n");
}

// No box may keep a stopping process waiting: the failure goes to stderr.
TEST_P(ProgramProcessTest, SignalWithAnUnwritableSettingsFileEndsWithAMessageOnStderr) {
    const QString program = installProgram();
    ASSERT_TRUE(QDir(dir.path()).mkdir("Quandor.ini"));  // cannot be replaced by a file
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(program, {});
    ASSERT_TRUE(process.waitForStarted(10000));
    for (int i = 0; i < 200 && !QFileInfo(dir.filePath("PROJECTS")).isDir(); ++i) {
        QThread::msleep(50);
    }
    QThread::msleep(500);

    ::kill(static_cast<pid_t>(process.processId()), GetParam());
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_TRUE(QString::fromLocal8Bit(process.readAllStandardError())
                    .contains("Unable to write to " + dir.filePath("Quandor.ini")));
}

INSTANTIATE_TEST_SUITE_P(Signals, ProgramProcessTest, ::testing::Values(SIGTERM, SIGINT));

// The title as the window system shows it: nothing appended to the caption and the project.
TEST(ProgramOnADisplay, TitleIsTheCaptionAndTheProjectAlone) {
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    const QString xwininfo = QStandardPaths::findExecutable("xwininfo");
    if (xvfb.isEmpty() || xwininfo.isEmpty()) {
        GTEST_SKIP() << "needs Xvfb and xwininfo";
    }
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("PROJECTS/Plant");
    QFile settings(dir.filePath("Quandor.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[lastproj]\nprojectname=Plant\n");
    settings.close();

    QProcess server;
    server.start(xvfb, {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
    ASSERT_TRUE(server.waitForReadyRead(10000));
    const QString display = ":" + QString::fromLatin1(server.readLine()).trimmed();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", display);
    environment.insert("QT_QPA_PLATFORM", "xcb");
    QProcess program;
    program.setProcessEnvironment(environment);
    const QString executable = dir.filePath("dlmanager");
    ASSERT_TRUE(QFile::copy(QStringLiteral(DLMANAGER_EXECUTABLE), executable));
    program.start(executable, {});
    ASSERT_TRUE(program.waitForStarted(10000));

    QString line;
    for (int i = 0; i < 100 && line.isEmpty(); ++i) {
        QProcess tree;
        tree.setProcessEnvironment(environment);
        tree.start(xwininfo, {"-root", "-tree"});
        tree.waitForFinished(10000);
        for (const QString& entry : QString::fromUtf8(tree.readAllStandardOutput()).split('\n')) {
            if (entry.contains("QL40982 Datalogger Manager")) {
                line = entry;
            }
        }
        QThread::msleep(100);
    }
    program.terminate();
    program.waitForFinished(10000);
    server.terminate();
    server.waitForFinished(10000);
    EXPECT_TRUE(line.contains("\"QL40982 Datalogger Manager :Plant\"")) << line.toStdString();
}

}  // namespace
