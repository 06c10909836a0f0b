#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Changes environment variables for one test and puts every one back as it
// was (set to its old value, or unset) when the test ends, also when a check
// fails and the test returns early.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second)
                setenv(it->first.c_str(), it->second->c_str(), 1);
            else
                unsetenv(it->first.c_str());
        }
    }

    void Set(const char* name, const std::string& value) {
        Save(name);
        setenv(name, value.c_str(), 1);
    }
    void Unset(const char* name) {
        Save(name);
        unsetenv(name);
    }

private:
    void Save(const char* name) {
        for (const auto& entry : saved_)
            if (entry.first == name)
                return;
        const char* value = std::getenv(name);
        saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};
