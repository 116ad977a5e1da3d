#include "platform/KesDebug.h"
#include "platform/KesString.h"

#include "platform/KesUnicodeString.h"

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace {

struct Switches {
    std::map<std::string, int> set;                        // from SetDebug
    std::optional<std::map<std::string, int>> environment; // parsed KES_DEBUG
    long calls = 0;
};

Switches& State() {
    static auto* switches = new Switches;
    return *switches;
}

std::map<std::string, int> ParseEnvironment() {
    std::map<std::string, int> parsed;
    const char* text = std::getenv("KES_DEBUG");
    if (text == nullptr) {
        return parsed;
    }
    const std::string all = text;
    size_t begin = 0;
    while (begin <= all.size()) {
        size_t end = all.find(',', begin);
        if (end == std::string::npos) {
            end = all.size();
        }
        const std::string item = all.substr(begin, end - begin);
        const size_t equal = item.find('=');
        const std::string name = KesTrimBlanks(item.substr(0, equal));
        if (!name.empty()) {
            int value = 1;
            if (equal != std::string::npos) {
                value = 0;
                KesUnicodeString(KesTrimBlanks(item.substr(equal + 1))).ConvertToNum(&value, "%d");
            }
            parsed[name] = value;
        }
        begin = end + 1;
    }
    return parsed;
}

} // namespace

int GetDebug(const char* name) {
    Switches& switches = State();
    ++switches.calls;
    if (name == nullptr) {
        return 0;
    }
    const auto set = switches.set.find(name);
    if (set != switches.set.end()) {
        return set->second;
    }
    if (!switches.environment) {
        switches.environment = ParseEnvironment();
    }
    const auto found = switches.environment->find(name);
    return found == switches.environment->end() ? 0 : found->second;
}

void SetDebug(const char* name, int value) {
    if (name != nullptr) {
        State().set[name] = value;
    }
}

void ResetDebug() {
    State().set.clear();
    State().environment.reset();
}

long GetDebugCallCount() {
    return State().calls;
}
