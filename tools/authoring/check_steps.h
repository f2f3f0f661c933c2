// The steps of CheckMovie once a shell has accepted the description. Each adds
// its findings to the report; findings about a view name its record's line and
// its file name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "description.h"
#include "findings.h"
#include "record_lines.h"
#include "view_table.h"

namespace zel::authoring {

struct AcceptedMovie {
    std::string description;  // the path as given
    std::string folder;       // where view names count from, "" for the current folder
    ViewTable table;          // the control's when it accepted the file (it alone keeps pairs)
    std::vector<MorphProblem> morphProblems;
    RecordLines lines;

    int ViewLine(int32_t view) const { return lines.views.at(size_t(view)); }
    const std::string& Name(int32_t view) const { return table.names.at(size_t(view)); }
    // The file a view name stands for, beside the description.
    std::string ViewPath(int32_t view) const { return folder.empty() ? Name(view) : folder + "/" + Name(view); }
};

void CheckNames(const AcceptedMovie& movie, Report& report);
void CheckLinks(const AcceptedMovie& movie, Report& report);
void CheckMorphPairs(const AcceptedMovie& movie, Report& report);

struct PictureTotals {
    uint64_t fileBytes = 0;    // every distinct view file once
    uint64_t planeBytes = 0;   // the plug-in's planes at their largest
};

PictureTotals CheckPictures(const AcceptedMovie& movie, Report& report);

// "view 3"
std::string ViewText(int32_t view);

}  // namespace zel::authoring
