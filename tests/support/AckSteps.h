// The steps of the dialogs that the module's acknowledgement judges ("!" and the address it answers
// at, nothing more but the checksum digits): what the operator does to start one, which request
// its acknowledgement answers, and the texts only an acknowledgement shows. Each family lists its
// own; the configuration of every module dialog on an ASCII line is built from its every-dialog
// row; one table over them all tries each with replies that are no acknowledgement.
#pragma once

#include "Dialog.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

struct SAckStep {
    std::string dialog; // the registered class: its row of the every-dialog table
    std::string name;   // the step, for the test's name
    // Another module on the row's bus (bus-file text) and the model name the block lists for it,
    // where the step is a model's own; empty: the row's.
    std::string bus;
    std::string model;
    // What the operator does once the dialog has run a few ticks.
    std::function<void(CDialog&)> press;
    // The start of the request whose reply is tried (ASCII as sent).
    std::string request;
    // Texts (in a field, a label or a message box) that only an acknowledgement shows.
    std::vector<std::string> okTexts;
};

// A step in a failure message: its dialog and name.
inline void PrintTo(const SAckStep& step, std::ostream* os)
{
    *os << step.dialog << " " << step.name;
}

// Each family's steps.
std::vector<SAckStep> AnalogInputAckSteps();
std::vector<SAckStep> PerChannelAndRtdAckSteps();
std::vector<SAckStep> OutputCounterAckSteps();
std::vector<SAckStep> RackAckSteps();
