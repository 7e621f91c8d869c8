// The module dialogs the open-module dispatch can run, by class name. Each dialog registers
// itself where it is defined; a name nothing has registered opens nothing.
#pragma once

#include "Dialog.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

using ModuleDialogFactory = std::function<std::unique_ptr<CDialog>()>;

// Registers (or replaces) the factory of a dialog class; returns true for static initialisers.
bool RegisterModuleDialog(const std::string& className, ModuleDialogFactory factory);
// A new dialog of that class with no parent, or null when none is registered.
std::unique_ptr<CDialog> CreateModuleDialog(const std::string& className);
// The class names of every registered dialog, sorted.
std::vector<std::string> RegisteredModuleDialogNames();

// Puts a stand-in in place of a dialog class for the lifetime of the object (tests).
class CScopedModuleDialog {
public:
    CScopedModuleDialog(std::string className, ModuleDialogFactory factory);
    ~CScopedModuleDialog();
    CScopedModuleDialog(const CScopedModuleDialog&) = delete;
    CScopedModuleDialog& operator=(const CScopedModuleDialog&) = delete;

private:
    std::string m_strClass;
    ModuleDialogFactory m_previous;
};

#define REGISTER_MODULE_DIALOG(cls)                                                                \
    namespace {                                                                                    \
    const bool cls##_registered =                                                                  \
        RegisterModuleDialog(#cls, [] { return std::unique_ptr<CDialog>(new cls); });              \
    }
