#pragma once
// What the generator reads from the main window at the moment of generation. Texts are Windows-1251 and
// are used as they stand, without trimming.
#include "conditions/condition_list.h"

#include <string>
#include <vector>

namespace zorvant::qpl {

struct GeneratorInput {
    std::string portfelName = "My_portfel";
    std::string portfelDesc;
    bool allClients = true; // ClientConfigAll rather than ClientConfigInd
    std::string clientCode;
    std::string firmId;
    std::string account;
    std::string fileNameMessage;
    bool compressed = false; // RT_COMP rather than RT_ALL
    std::string compMess;
    const conditions::ConditionList* conditions = nullptr; // not owned; null reads as an empty list
    std::vector<std::string> library;
    // MessageChart of the previous generation, kept when no part names an interval.
    std::string previousMessageChart;
};

} // namespace zorvant::qpl
