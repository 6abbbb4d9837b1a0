#include "app/view_registry.h"

#include "app/attitude_view.h"
#include "app/ephemeris_view.h"
#include "app/events_view.h"
#include "app/header_view.h"
#include "app/iono_view.h"
#include "app/main_window.h"
#include "app/measurements_view.h"
#include "app/occupations_view.h"
#include "app/position_scatter_view.h"
#include "app/positions_view.h"
#include "app/quality_view.h"
#include "app/satellites_view.h"
#include "app/scan_quality.h"
#include "app/signal_elevation_view.h"
#include "app/skyplot_view.h"
#include "app/summary_view.h"
#include "app/times_view.h"

namespace vnx::app {

void CreateViewPanels(MainWindow& w) {
  auto* quality = new ScanQuality(w);
  auto* times = new TimesView(w);
  auto* summary = new SummaryView(w, *times);
  w.AddView("TimesEpochs1", times);
  w.AddView("ViewSummury1", summary);
  w.runEpochAnalysis = [times] { return times->RunAnalysis(); };
  w.buildAndShowSummary = [summary] { summary->Open(); };
  w.clearSummary = [summary] { summary->Clear(); };
  w.AddView("Header1", new HeaderView(w));
  w.AddView("Ionoparameters1", new IonoView(w));
  auto* measurements = new MeasurementsView(w);
  measurements->SetSlipSource(quality);
  w.AddView("Measurements1", measurements);
  w.AddView("Attitude1", new AttitudeView(w));
  w.AddView("Satellites1", new SatellitesView(w));
  w.AddView("Positions1", new PositionsView(w));
  w.AddView("Externalevents1", new EventsView(w));
  w.AddView("Occupations1", new OccupationsView(w));
  w.AddView("Ephemerides1", new EphemerisView(w));
  w.AddView("Quality1", new QualityView(w, *quality));
  w.AddView("Skyplot1", new SkyplotView(w));
  w.AddView("SignalElevation1", new SignalElevationView(w));
  w.AddView("PositionScatter1", new PositionScatterView(w));
}

}  // namespace vnx::app
