#pragma once

#include "SimulatorProcess.h"

#include <gtest/gtest.h>
#include <memory>

// A fixture that starts the simulator with the given options and connects a libmodbus master.
class SimulatorTest : public ::testing::Test {
protected:
    void start(std::vector<std::string> arguments) {
        simulator_ = std::make_unique<SimulatorProcess>(arguments);
        ASSERT_TRUE(simulator_->running());
        master_ = std::make_unique<Master>(simulator_->link());
        ASSERT_TRUE(master_->connected());
    }

    std::unique_ptr<SimulatorProcess> simulator_;
    std::unique_ptr<Master> master_;
};
