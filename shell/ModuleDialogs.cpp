#include "ModuleDialogs.h"

#include <map>

namespace {

std::map<std::string, ModuleDialogFactory>& Factories()
{
    static std::map<std::string, ModuleDialogFactory> factories;
    return factories;
}

} // namespace

bool RegisterModuleDialog(const std::string& className, ModuleDialogFactory factory)
{
    Factories()[className] = std::move(factory);
    return true;
}

std::unique_ptr<CDialog> CreateModuleDialog(const std::string& className)
{
    auto found = Factories().find(className);
    return found == Factories().end() || !found->second ? nullptr : found->second();
}

std::vector<std::string> RegisteredModuleDialogNames()
{
    std::vector<std::string> names;
    for (const auto& [name, factory] : Factories()) names.push_back(name);
    return names;
}

CScopedModuleDialog::CScopedModuleDialog(std::string className, ModuleDialogFactory factory)
    : m_strClass(std::move(className))
{
    auto found = Factories().find(m_strClass);
    if (found != Factories().end()) m_previous = found->second;
    Factories()[m_strClass] = std::move(factory);
}

CScopedModuleDialog::~CScopedModuleDialog()
{
    if (m_previous)
        Factories()[m_strClass] = std::move(m_previous);
    else
        Factories().erase(m_strClass);
}
