// screenshot-tour PROGRAM_FOLDER OUTPUT_FOLDER: the program's windows, made as start-up makes
// them in PROGRAM_FOLDER, walked through a connection, a project, an update, a download and its
// views; a PNG of each window in OUTPUT_FOLDER. Messages go to stderr, questions are answered
// yes, file choosers pick files in the output folder.
#include "base/Prompts.h"
#include "devicelink/ConnectSection.h"
#include "devicelink/UComPort.h"
#include "devicelink/UDateTime.h"
#include "firmware/ModifyFileSx.h"
#include "loggeddata/DownloadDataSection.h"
#include "loggeddata/USelectCmd.h"
#include "loggeddata/UWaiting.h"
#include "loggeddata/U_Erase_Mem.h"
#include "projects/ProjectSection.h"
#include "projects/Upargen.h"
#include "projects/Usaveproj.h"
#include "shell/ProgramWindows.h"
#include "shell/UAbout.h"
#include "widgets/ClickableLabel.h"
#include "widgets/WidgetStyle.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

class TourPrompts : public Prompts {
public:
    explicit TourPrompts(QString folder) : folder_(std::move(folder)) {}
    void inform(const QString& text) override { say(text); }
    void informWithDetail(const QString& text, const QString& detail) override {
        say(text + QStringLiteral(" (") + detail + QLatin1Char(')'));
    }
    void warn(const QString& text) override { inform(text); }
    void warnWithDetail(const QString& text, const QString& detail) override {
        informWithDetail(text, detail);
    }
    bool askYesNo(const QString& text) override { return say(text); }
    bool askOkCancel(const QString& text) override { return say(text); }
    Answer askYesNoCancel(const QString& text) override {
        return say(text) ? Answer::Yes : Answer::Cancel;
    }
    std::optional<QString> chooseFolder(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> chooseOpenFile(const QString&, const QString&) override {
        return folder_ + QStringLiteral("/tour-data.xml");
    }
    std::optional<QString> chooseSaveFile(const QString&, const QString&,
                                          const QString& extension) override {
        return folder_ + QStringLiteral("/tour-data.") + extension;
    }

private:
    static bool say(const QString& text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return true;
    }
    QString folder_;
};

class Tour {
public:
    Tour(ProgramWindows& windows, QString output) : w_(windows), output_(std::move(output)) {}

    void save(QWidget& window, const QString& name) {
        settle(300);
        const QString path = output_ + QLatin1Char('/') + name + QStringLiteral(".png");
        window.grab().save(path);
        std::printf("%s\n", qPrintable(path));
    }
    // Does `open`, which shows a modal window; once it shows, runs `inside` on it, saves its
    // picture and runs `leave`, which must close it.
    void modal(const QString& name, const std::function<void()>& open,
               const std::function<void()>& leave, const std::function<void()>& inside = {}) {
        QTimer::singleShot(200, [=, this] {
            QWidget* window = QApplication::activeModalWidget();
            if (!window) {
                std::fprintf(stderr, "no window for %s\n", qPrintable(name));
                return;
            }
            if (inside) {
                inside();
            }
            save(*window, name);
            leave();
        });
        open();
    }
    static void settle(int milliseconds) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < milliseconds) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        }
    }
    void connectCom1() {
        TFComPort& dialog = *w_.FComPort;
        modal(
            QStringLiteral("port-dialog"), [this] { main().P_Connect->B_SetComPort->click(); },
            [&dialog] { dialog.B_OK->click(); }, [&dialog] { dialog.CB_Port->setCurrentIndex(0); });
    }
    TFTessitoreFirmWare& main() { return w_.FTessitoreFirmWare; }

    void run() {
        TFTessitoreFirmWare& window = main();
        window.show();
        save(window, QStringLiteral("main-window"));
        modal(
            QStringLiteral("about"), [&] { emit window.L_VTL->clicked(); },
            [this] { w_.FAbout->B_OK->click(); });

        window.B_Connect->click();
        connectCom1();
        window.setFocus();
        save(window, QStringLiteral("connected"));
        modal(
            QStringLiteral("clock-dialog"), [&] { window.P_Connect->B_SetDateTime->click(); },
            [this] { w_.FDateTime->reject(); });

        ProjectSection& project = *window.P_Project;
        window.B_Edit_Project->click();
        project.B_Command_List->click();
        save(window, QStringLiteral("edit-project"));
        modal(
            QStringLiteral("new-project"), [&] { project.B_New_Project->click(); },
            [this] { w_.Fsaveproj->B_Cancel->click(); },
            [this] { w_.Fsaveproj->E_Name->setText(QStringLiteral("Boiler room")); });
        modal(
            QStringLiteral("set-com"), [&] { project.B_Set_Com->click(); },
            [this] { w_.Fpargen->B_Cancel->click(); });
        TFModifyFileSx& wizard = *w_.FModifyFileSx;
        modal(
            QStringLiteral("wizard-page-1"), [&] { project.B_Update_Device->click(); },
            [&] {
                for (int page = 2; page <= 4; ++page) {
                    wizard.B_Next->click();
                    save(wizard, QStringLiteral("wizard-page-%1").arg(page));
                }
                wizard.B_Execute->click();
                save(wizard, QStringLiteral("wizard-done"));
                wizard.close();
            });

        // The update closed the link.
        window.B_Connect->click();
        connectCom1();
        DownloadDataSection& data = *window.PBC_ManDati;
        window.B_Download_Data->click();
        QTimer::singleShot(1800, [this] {
            if (QApplication::activeModalWidget() == w_.FWaiting.get()) {
                save(*w_.FWaiting, QStringLiteral("waiting"));
            }
        });
        data.Btn_Get_Data->click();
        save(window, QStringLiteral("table"));
        modal(
            QStringLiteral("parameter"), [&] { data.B_Parameter->click(); },
            [this] { w_.FSelectCmd->B_Cancel->click(); });
        modal(
            QStringLiteral("select-command"), [&] { data.B_Chart->click(); },
            [this] { w_.FSelectCmd->B_OK->click(); });
        window.setFocus();
        save(window, QStringLiteral("chart"));
        data.B_SaveData->click();
        data.B_LoadData->click();
        data.B_Export->click();
        data.B_Debug->click();
        settle(1500);
        save(window, QStringLiteral("debug"));
        modal(
            QStringLiteral("erase"), [&] { data.B_EraseMem->click(); },
            [this] { w_.F_Erase_Mem->finish(); });
        window.B_Connect->click();
        window.P_Connect->B_ClosePort->click();
        save(window, QStringLiteral("closed"));
    }

private:
    ProgramWindows& w_;
    QString output_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshot-tour PROGRAM_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("dlmanager"));
    WidgetStyle::apply(application);
    const QString output = QString::fromLocal8Bit(argv[2]);
    TourPrompts prompts(output);
    ProgramWindows windows(QString::fromLocal8Bit(argv[1]), &prompts);
    Tour(windows, output).run();
    windows.FTessitoreFirmWare.close();
    return 0;
}
