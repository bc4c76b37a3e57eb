#include "ControlNames.h"

namespace rillo {

const char* controlName(Field field) {
    switch (field) {
    case Field::Watershed: return "txtWatershed";
    case Field::Option: return "cboIOPT";
    case Field::Title: return "txtTitle";
    case Field::SubTitle: return "txtTitle2";
    case Field::Steps: return "txtNstep";
    case Field::StartHour: return "txtNhr";
    case Field::StartMinute: return "txtNmn";
    case Field::TimeStep: return "txtDelt";
    case Field::Hyetographs: return "txtNrgag";
    case Field::ZeroDetentionPercent: return "txtPctzer";
    case Field::PeakSummary: return "chkIpkchk";
    case Field::HyetographPoints: return "txtNhisto";
    case Field::HyetographInterval: return "txtThisto";
    case Field::SaveHydrographs: return "chkSave";
    case Field::PrintedSubbasins: return "txtNprnt";
    case Field::PrintInterval: return "txtInterv";
    case Field::RoutingTitle: return "txtTitle3";
    case Field::RoutingSubTitle: return "txtTitle4";
    case Field::RoutingSteps: return "txtNstep2";
    case Field::RoutingStartHour: return "txtNhr2";
    case Field::RoutingStartMinute: return "txtNmn2";
    case Field::RoutingTimeStep: return "txtDelt2";
    case Field::RoutingPeakSummary: return "chkIpkchk2";
    case Field::SavedElements: return "txtNsave2";
    case Field::PrintedElements: return "txtNprnt2";
    case Field::RoutingPrintInterval: return "txtInterv2";
    case Field::Count: break;
    }
    return "";
}

const char* controlName(GridId id) {
    switch (id) {
    case GridId::Card14: return "fpCard14";
    case GridId::Card15: return "fpCard15";
    case GridId::Card110: return "fpCard110";
    case GridId::Card23: return "fpCard23";
    case GridId::Card31: return "fpCard31";
    case GridId::Card31a: return "fpCard31a";
    case GridId::Card31aIndex: return "fpSubCard31a";
    case GridId::Card42: return "fpCard42";
    case GridId::Card44: return "fpCard44";
    case GridId::Count: break;
    }
    return "";
}

const char* frameName(int page) {
    switch (page) {
    case Page::Options: return "fraCard0";
    case Page::Card11: return "fraCard11to13";
    case Page::Card17: return "fraCard17";
    case Page::Card19: return "fraCard19";
    case Page::Card21: return "Frame1";
    case Page::Card41: return "fraCard41";
    case Page::Card43: return "fraCard43";
    default: return "";
    }
}

}  // namespace rillo
