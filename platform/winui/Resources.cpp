#include "Resources.h"
#include "DialogTemplate.h"

#include <QIcon>

#include <map>

namespace {

std::map<int, DialogTemplate>& Templates()
{
    static std::map<int, DialogTemplate> templates;
    return templates;
}

struct IconEntry {
    std::function<QIcon()> make;
    std::unique_ptr<QIcon> icon;
};

std::map<HICON, IconEntry>& Icons()
{
    static std::map<HICON, IconEntry> icons;
    return icons;
}

std::map<UINT, std::string>& Strings()
{
    static std::map<UINT, std::string> strings;
    return strings;
}

} // namespace

bool RegisterDialogTemplate(DialogTemplate dialogTemplate)
{
    int id = dialogTemplate.nID;
    return Templates().insert_or_assign(id, std::move(dialogTemplate)).second;
}

const DialogTemplate* FindDialogTemplate(int nID)
{
    auto found = Templates().find(nID);
    return found == Templates().end() ? nullptr : &found->second;
}

std::vector<int> RegisteredDialogTemplateIds()
{
    std::vector<int> ids;
    for (const auto& [id, tmpl] : Templates()) ids.push_back(id);
    return ids;
}

bool RegisterIcon(HICON id, std::function<QIcon()> make)
{
    Icons()[id] = IconEntry{std::move(make), nullptr};
    return true;
}

const QIcon& IconFor(HICON id)
{
    static const QIcon none;
    auto found = Icons().find(id);
    if (found == Icons().end()) return none;
    IconEntry& entry = found->second;
    if (!entry.icon) entry.icon = std::make_unique<QIcon>(entry.make());
    return *entry.icon;
}

bool RegisterString(UINT nID, std::string text)
{
    Strings()[nID] = std::move(text);
    return true;
}

std::string LoadString(UINT nID)
{
    auto found = Strings().find(nID);
    return found == Strings().end() ? std::string() : found->second;
}
