// The expectation checker for replay traces (see trace_expect_support.h).
#include "trace_expect_support.h"

#include <map>
#include <sstream>

namespace {

using Fields = std::map<std::string, std::string>;

Fields ParseFields(const std::string& text) {
    Fields fields;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        const size_t eq = word.find('=');
        fields[word.substr(0, eq)] = eq == std::string::npos ? "" : word.substr(eq + 1);
    }
    return fields;
}

bool Carries(const Fields& line, const Fields& wanted) {
    for (const auto& [key, value] : wanted) {
        auto found = line.find(key);
        if (found == line.end() || found->second != value)
            return false;
    }
    return true;
}

std::string StateSequence(const std::vector<Fields>& lines) {
    std::string sequence;
    std::string previous;
    for (const Fields& line : lines) {
        auto main = line.find("main");
        if (main == line.end() || main->second == previous)
            continue;
        previous = main->second;
        sequence += (sequence.empty() ? "" : ",") + previous;
    }
    return sequence;
}

} // namespace

std::vector<std::string> CheckTrace(const std::string& trace, const std::string& expectations) {
    std::vector<Fields> lines;
    std::istringstream traceLines(trace);
    for (std::string line; std::getline(traceLines, line);)
        lines.push_back(ParseFields(line));

    std::vector<std::string> failures;
    size_t next = 0;
    std::istringstream rules(expectations);
    for (std::string rule; std::getline(rules, rule);) {
        rule = rule.substr(0, rule.find('#'));
        std::istringstream words(rule);
        std::string verb;
        if (!(words >> verb))
            continue;
        std::string rest;
        std::getline(words, rest);
        const Fields wanted = ParseFields(rest);
        if (verb == "then") {
            while (next < lines.size() && !Carries(lines[next], wanted))
                ++next;
            if (next == lines.size())
                failures.push_back("no later line with" + rest);
            else
                ++next;
        } else if (verb == "never") {
            for (const Fields& line : lines) {
                if (Carries(line, wanted)) {
                    failures.push_back("a line with" + rest + " at u=" + line.at("u"));
                    break;
                }
            }
        } else if (verb == "states") {
            const std::string want = ParseFields(rest).begin()->first;
            const std::string got = StateSequence(lines);
            if (got != want)
                failures.push_back("states " + got + ", expected " + want);
        } else if (verb == "last") {
            if (lines.empty() || !Carries(lines.back(), wanted))
                failures.push_back("the last line lacks" + rest);
        } else {
            failures.push_back("unknown rule '" + verb + "'");
        }
    }
    return failures;
}
