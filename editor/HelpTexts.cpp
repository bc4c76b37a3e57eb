#include "HelpTexts.h"

#include <initializer_list>
#include <vector>

namespace rillo {

namespace {

/// One paragraph and the number of carriage returns in front of it (none in
/// front of the first): a title and its text are one apart, everything else two.
struct Paragraph {
    const char* text;
    int breaksBefore;
};
using Text = std::initializer_list<Paragraph>;

constexpr int kTitled = 1, kNext = 2;

const Text kOptions = {
    {"Choose an option 1 or 0.", 0},
    {"Option 0 - The hydrographs of subcatchments and conveyance elements are to be simulated by RILLO.", kNext},
    {"Option 1 - an input file containing hydrographs is required.", kNext},
};

const Text kJobTitles = {
    {"**Job Title:", 0},
    {"Enter the title you want to assign for this job. (max 80 mixed case characters)", kTitled},
    {"**Job Sub-Title:", kNext},
    {"Enter additional job title information.", kTitled},
};

const Text kRunoffSteps = {
    {"**Number of Time Steps to be calculated:", kNext},
    {"Enter the number of integration time steps to be calculated.  Make sure the total time of integration is "
     "sufficient to describe the storm hydrograph adequately.(max 5 numeric characters)",
     kTitled},
};

const Text kRoutingSteps = {
    {"**Number of Time Steps to be calculated:", kNext},
    {"Enter the number of integration to calculate.  Make sure the total time of integration is sufficient to "
     "describe the storm hydrograph adequately.(max 5 numeric characters)",
     kTitled},
};

/// The start of the storm and the time step, the same on cards 1.2 and 2.2.
const Text kStormStart = {
    {"**Hour of start of storm:", kNext},
    {" This may be left blank. (max 3 numeric characters)", kTitled},
    {"**Minutes of start of storm:", kNext},
    {" This may be left blank. (max 2 numeric characters)", kTitled},
    {"**Integration time step:", kNext},
    {" Enter the size of the time step used for integration.  Unless the watershed is very small or very large, "
     "5-minute time steps are recommended.(max 5 numeric characters)",
     kTitled},
};

const Text kRunoffControls = {
    {"**Number of Hyetographs:", kNext},
    {" The number of hyetographs to be use for any one storm cannot exceed ten.  When using design storms for NORDAL "
     "usually only one hyetograph is used.(max 2 numeric characters <= 10)",
     kTitled},
    {"**Percent of impervious area ...:", kNext},
    {" Percent of the impervious area that has no ponding depth and results in immediate runoff to a conveyance "
     "elemnt.(max 5 numeric characters)",
     kTitled},
    {"**Peak Flow:", kNext},
    {" Checking this box will cause a printing of a peak flow and depth of flow summary table at the end of the run.",
     kTitled},
    {"**Number of data points:", kNext},
    {" The number of data points for each hyetograph.(max 3 numeric characters, must be less than 400)", kTitled},
    {"**Time interval:", kNext},
    {" Minutes between the individual values fo the hyetograph.(max 5 numeric characters)", kTitled},
};

const Text kRainfall = {
    {"Enter the value of rainfall intensity in inches/hour for the hyetograph", 0},
    {"The number of data points is determined by the value entered in the previous card.", kNext},
    {"**Rainfall depth:", kNext},
    {" value of rainfall intensity in inches/hour of the hyetograph (numeric value 0 to 24)", kTitled},
};

const Text kSubcatchment = {
    {"There is a maximum of 1900 subcatchments.", 0},
    {"Input parameters for subcatchments may be altered by a given ratio. If subcatchment number is input as -1, any "
     "non-blank value in the given parameter's field provided constant modifier to previous default values.  Initial "
     "default values are 1.0.  The final parameter value used is determined by multiplying input card value, or "
     "default parameter value, by the given ratio.  Once input the value will apply to all subsequent basin "
     "parameter cards until another change card is used.",
     kNext},
    {"**Hyetograph Number:", kNext},
    {" is based on the consecutive number in which they are read (value <= 10)", kTitled},
    {"**Subcatchment Number:", kNext},
    {" Subcatchment identification number.(value -2 - 1900)", kTitled},
    {"**Conveyance Element Number Draining This Subcatchment:", kNext},
    {" The identification number of the conveyance element in card group 3.1 into which the subcatchment "
     "connects.(numeric value 0 - 1900)",
     kTitled},
    {"**Total Tributary Width of Subcatchment:", kNext},
    {" The tributary width in feet of the subcatchment.(numeric value 1 - 1900)", kTitled},
    {"**Area of Subcatchment:", kNext},
    {" Area of the subcatchment in acres.( value .0001 - 9999)", kTitled},
    {"**Percent Imperviousness of Subcatchment:", kNext},
    {"Percent of the subcatchment that has an impervious surface. (value 1 - 100)", kTitled},
    {"**Ground Slope:", kNext},
    {" The average ground slope in feet per foot of the subcatchment normal to the tributary width.(value 0 - 9999)",
     kTitled},
    {"**Impervious Area Surface Resistance Factor:", kNext},
    {" Surface resistance factor (Manning's n) for the impervious surfaces of the subcatchment.(value 0 - 9999)",
     kTitled},
    {"**Pervious Area Surface Resistance Factor:", kNext},
    {" Surface resistance factor (Manning's n) for the pervious surfaces of the subcatchment.(value 0 - 9999)",
     kTitled},
    {"**Impervious Area Surface Retention Storage:", kNext},
    {" Impervious surface retention storage (loss) in inches.(value 0 - 9999)", kTitled},
    {"**Pervous Area Surface Retention Storage:", kNext},
    {"Pervious surface retention storage (loss) in inches.(value 0 - 9999)", kTitled},
    {"**Maximum Infiltration Rate:", kNext},
    {" Maximum infiltration rate in Horton's equation in inches per hour.(value 0 - 9999)", kTitled},
    {"**Minimum Infiltration Rate:", kNext},
    {" Minimum infiltration rate in Horton's equation in inches per hour.(value 0- 9999)", kTitled},
    {"**Decay Rate of Infiltration:", kNext},
    {" Decay rate of infiltration per second in Horton's equation.(value 0 - 9999)", kTitled},
};

const Text kSubbasinSave = {
    {"Checking this box saves all subbasins that were entered on the previous card.", 0},
};

const Text kSubbasinPrint = {
    {"Enter in the number of subbasins that are to be printed, and the number of time steps between the printed "
     "hydrograph values.  ",
     0},
    {"(max 4 numeric characters)", kNext},
    {"Enter in the number of the subbasin that is to be printed. The number of cells filled should equal the number "
     "of subbasins that are to be printed.",
     kNext},
    {"(value 1 - 1900)", kNext},
};

const Text kSubCatchmentData = {
    {"Enter the subcatchment number and the conveyance element number.  Repeat this for each subcatchment.", 0},
    {"(max 4 numeric characters)", kNext},
};

const Text kConveyanceElement = {
    {"Enter in data for each conveyance element,  ", 0},
    {"If a value other than zero is entered in the \"Number of sets of tabular values\" column then card 3.1a must "
     "be used. ",
     kNext},
    {"Input parameters for Conveyance elements may be altered by a given ratio. If conveyance element number is "
     "input as -1, any non-blank value in the given parameter's field provided constant modifier to previous default "
     "values.  Initial default values are 1.0.  The final parameter value used is determined by multiplying input "
     "card value, or default parameter value, by the given ratio.  Once input the value will apply to all subsequent "
     "basin parameter cards until another change card is used.",
     kNext},
    {"**Number of sets of tabular values:", kNext},
    {" This value is normally zero unless \"Type of conveyance element to be used\" is used. In this case Enter the "
     "number of sets of tabular values.(value 1 to 100)",
     kTitled},
    {"**Type of conveyance element to be used:", kNext},
    {"When JK > 0 diversion option is used and tabular values are Q in gutter vs. diverted Q in cfs.  JK - "
     "Conveyance elements number into which the diverted 0 flows. When JK = 0 detention dam option is used and "
     "tabular values are storage in acre-feet vs. outflow discharge in cfs. When JK < 0 inflow hydrograph option is "
     "used and tabular values are time in hours vs. inflow in cfs.in acre-feet vs. outflow discharge in cfs.",
     kTitled},
    {"When JK < 0 inflow hydrograph option is used and tabular values are time in hours vs. inflow in cfs.", kNext},
    {"**Next down stream conveyance element number:", kNext},
    {" The number of the conveyanbce element immediately downstream of the element identified by \"Conveyance "
     "Element Number\"(value 0 - 1900)",
     kTitled},
    {"T**ype of conveyance element:", kNext},
    {"1 = Trapezoidal Channel, 2 = Circular Pipe, 3 = Direct flow element and no routing takes place, 4 = "
     "Trapezoidal channel acting as an overflow conveyance once the capacity of the smaller channel is exceeded, 5 = "
     "Pipe with a trapezoidal channel acting as an overflow conveyance once the pipes capacity is exceeded.",
     kTitled},
    {"**Bottom width of channel or pipe diameter:", kNext},
    {" Bottom width of channel or the diameter of a circular pipe in feet.(max eight numeric characters)", kTitled},
    {"**Length of conveyance element:", kNext},
    {"  Length fo the conveyance element in feet.(max eight numeric characters)", kTitled},
    {"**Invert slope:", kNext},
    {" Invert slope of the channel or pipe in feet per foot.  Slope is measured as vertical divided by "
     "horizontal.(max eight numeric characters)",
     kTitled},
    {"**Left-hand side slope:", kNext},
    {"Left-hand side slope of the trapezoidal channel in feet/foot. Slope is measured as horizontal divided by "
     "verticle.(max eight numeric characters)",
     kTitled},
    {"**Right-hand side slope:", kNext},
    {" Right-hand side slope of the trapezoidal channel in feet/foot. Slope is measured as horizontal divided by "
     "verticle.(max eight numeric characters)",
     kTitled},
    {"**Manning's coeficient:", kNext},
    {" Manning's roughness coefficient.(max 8 numeric characters)", kTitled},
    {"Depth of channel in feet when full or the pipe diameter.  If an overflow section is specified, this specifies "
     "the depth at which overflow begins, otherwise it spcifies when the conveyance element will begin to store the "
     "excess flow as volume.(max eight numerci characters)",
     1},
};

const Text kTabularValues = {
    {"Enter in the tabular pairs (number of pairs is specified on previous card).   The number of cells to be filled "
     "must equal the number of tabular values from \"Conveyance Element (3.1)\".(max ten numeric characters)",
     0},
};

const Text kConveyanceSave = {
    {"Enter in the number of conveyance elements for which hydrographs will be saved.", 0},
    {"(value 1 - 1900)", kNext},
    {"Enter in the conveyance element number for which values are to be saved.  The number of cells to be filled "
     "must equal the number of conveyance elements to be saved.  (value 1 - 1900)",
     kNext},
};

const Text kConveyancePrint = {
    {"Enter in the number of conveyance elements for which values are to be printed, and the number of time steps "
     "between printings.(value 1 - 1900)",
     0},
    {"Enter in the conveyance element number for which values are to be printed.  ", kNext},
    {"The number of cells to be filled must equal the number of conveyance elements to be printed.(value 1 - 1900)",
     kNext},
};

/// The help text of each page of cards, in its parts.
std::vector<const Text*> textOf(int page) {
    switch (page) {
    case Page::Options: return {&kOptions};
    case Page::Card11: return {&kJobTitles, &kRunoffSteps, &kStormStart, &kRunoffControls};
    case Page::Card14: return {&kRainfall};
    case Page::Card15: return {&kSubcatchment};
    case Page::Card17: return {&kSubbasinSave};
    case Page::Card19: return {&kSubbasinPrint};
    case Page::Card21: return {&kJobTitles, &kRoutingSteps, &kStormStart};
    case Page::Card23: return {&kSubCatchmentData};
    case Page::Card31: return {&kConveyanceElement};
    case Page::Card31a: return {&kTabularValues};
    case Page::Card41: return {&kConveyanceSave};
    case Page::Card43: return {&kConveyancePrint};
    default: return {};
    }
}

}  // namespace

std::string helpText(int group) {
    std::string text;
    bool first = true;
    for (const Text* part : textOf(group)) {
        for (const Paragraph& p : *part) {
            if (!first) text.append(static_cast<std::size_t>(p.breaksBefore), '\r');
            first = false;
            text += p.text;
        }
    }
    return text;
}

}  // namespace rillo
