// "Get Data" through our Modbus library against the simulated datalogger, faults and all.
#include "RecordingWork.h"
#include "SampleLines.h"
#include "ScriptedPrompts.h"
#include "SimulatorProcess.h"
#include "devicelink/Comon.h"
#include "devicelink/RegisterMap.h"
#include "loggeddata/GetData.h"
#include "loggeddata/LoggedData.h"
#include "loggeddata/LoggedDataTexts.h"
#include "projects/ProjectFiles.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QDateTime>
#include <csignal>
#include <cstdlib>
#include <memory>

namespace {

const QString DemoProject = QStringLiteral(DLM_DEMO_PROJECT);

class DownloadWithSimulator : public ::testing::Test {
protected:
    void start(std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"--project", DLM_DEMO_PROJECT, "--markers",
                                           "--dump-image", dump_, "--record-log", records_});
        simulator_ = std::make_unique<SimulatorProcess>(arguments);
        ASSERT_TRUE(simulator_->running());
        ::setenv("VTL_MODBUS_COM1", simulator_->link().c_str(), 1);
        ASSERT_EQ(comon_.openPort(), 1);
    }
    void TearDown() override {
        comon_.closePort();
        ::unsetenv("VTL_MODBUS_COM1");
    }

    bool getData() {
        GetDataSteps steps;
        steps.sendLoggerCommand = [this](uint16_t command) {
            return comon_.WriteRegister(RegisterMap::LoggerNode, RegisterMap::CommandRegister,
                                        command) == 1;
        };
        steps.runInWaitingWindow = [this](const std::function<bool(WaitingWork&)>& run) {
            return !comon_.CommAborted && run(work_);
        };
        return ::getData(comon_, *data_, commands_, false, steps, prompts_);
    }

    // What the simulator holds, decoded from its image file.
    std::vector<std::string> expectedFromImage() {
        auto fromImage = std::make_unique<LoggedData>();
        EXPECT_EQ(fromImage->image.loadFile(QString::fromStdString(dump_)),
                  MemoryImage::FileResult::Done);
        fromImage->decode(commands_);
        return describe(fromImage->samples);
    }

    ScratchFolder files_;
    std::string dump_ = files_.file("dump.bin");
    std::string records_ = files_.file("records.txt");
    std::unique_ptr<SimulatorProcess> simulator_;
    ScriptedPrompts prompts_;
    Comon comon_{boundModbusLibrary(), prompts_, [] { return 0; }};
    CommandList commands_ = ProjectFiles::loadCommandList(DemoProject);
    std::unique_ptr<LoggedData> data_ = std::make_unique<LoggedData>();
    RecordingWork work_;
};

struct FaultCase {
    const char* name;
    std::vector<std::string> options;
};

class DownloadWithFaults : public DownloadWithSimulator,
                           public ::testing::WithParamInterface<FaultCase> {};

TEST_P(DownloadWithFaults, SamplesAreWhatTheDeviceLogged) {
    std::vector<std::string> arguments = GetParam().options;
    arguments.insert(arguments.end(), {"--prefill", "0.3"});
    start(arguments);
    const std::vector<std::string> logged = lines(readTextFile(records_));

    ASSERT_TRUE(getData()) << prompts_.shown.join(u'|').toStdString();
    EXPECT_TRUE(prompts_.shown.isEmpty());
    const std::vector<std::string> downloaded = describe(data_->samples);
    EXPECT_GT(downloaded.size(), 100u);
    EXPECT_EQ(downloaded, logged);
    EXPECT_EQ(downloaded, expectedFromImage());
    // The faults did happen and were retried away.
    EXPECT_EQ(comon_.counters().failed > 0, !GetParam().options.empty());
}

INSTANTIATE_TEST_SUITE_P(Line, DownloadWithFaults,
                         ::testing::Values(FaultCase{"Clean", {}},
                                           FaultCase{"OneInAHundredLostOrCorrupted",
                                                     {"--drop-every", "100", "--corrupt-crc-every",
                                                      "97"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloadWithSimulator, ADeviceGoneMidwayLeavesTheSamplesAsTheyWere) {
    start({"--prefill", "0.3"});
    const uint16_t before[] = {1, 2};
    data_->samples.append(LoggerTimeStamp::fromDateAndTime(QDate(2011, 3, 15), QTime(14, 30)), 0,
                          before);
    int events = 0;
    work_.onEvents = [&] {
        if (++events == 10) {
            // The path goes too: the freed pty may go at once to another test's line.
            const std::string path = simulator_->link();
            simulator_->stop(SIGKILL);
            ::unlink(path.c_str());
        }
    };
    EXPECT_FALSE(getData());
    EXPECT_EQ(prompts_.shown.back(), LoggedDataTexts::DownloadFailed);
    ASSERT_EQ(data_->samples.LastSampleIndex(), 0);
    EXPECT_EQ(data_->samples.datas(0)[1], 2);
}

}  // namespace
