#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
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

INSTANTIATE_TEST_SUITE_P(Signals, ProgramProcessTest, ::testing::Values(SIGTERM, SIGINT));

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
