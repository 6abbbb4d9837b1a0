#include "app/ephemeris_view.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "controls/control_names.h"
#include "engine/views/ephemeris_text.h"

namespace vnx::app {

namespace {

constexpr int kButtonColumns = 8;
constexpr const auto& kSystems = kSatSystems;

// What a tab holds: labels, and group boxes of labels (which may hold a group box in turn).
struct Node {
  std::string label;  // a label's control name; empty for a group box
  const char* group = "";
  std::vector<Node> children;
};

Node G(const char* title, std::vector<Node> children) {
  return Node{"", title, std::move(children)};
}

std::vector<Node> Labels(std::initializer_list<std::string> names) {
  std::vector<Node> out;
  for (const std::string& n : names) out.push_back(Node{n, "", {}});
  return out;
}

std::vector<Node> Join(std::vector<std::vector<Node>> parts) {
  std::vector<Node> out;
  for (auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

struct TabLayout {
  const char* title;
  std::vector<Node> content;
};

// The GPS tabs; Galileo uses the same controls with the suffix "E" and adds its own tab.
std::vector<TabLayout> KeplerTabs(const std::string& e) {
  return {
      {"General",
       Labels({"STTimeWeek" + e, "STDate" + e, "STTime" + e, "STCurvFitInt" + e, "STDatFlagL2P" + e,
               "STCodeL2P" + e, "STASFlag" + e, "STAlert" + e, "STFromMem" + e, "STIODC" + e,
               "STRefTime" + e, "STURA" + e, "SThealth" + e, "STwn" + e})},
      {"Clock and Ephemeris",
       Labels({"STGdelay" + e, "STaf2" + e, "STaf1" + e, "STaf0" + e, "STtoe" + e, "STIODE" + e})},
      {"Keplerian", Labels({"STrootA" + e, "STecc" + e, "STm0" + e, "STomega0" + e, "STinc0" + e,
                            "STPer" + e, "STdeln" + e, "STomDot" + e, "STiDot" + e})},
      {"Corrections",
       Labels({"STcrc" + e, "STcrs" + e, "STcuc" + e, "STcus" + e, "STcic" + e, "STcis" + e})},
  };
}

std::vector<TabLayout> GalileoTabs() {
  std::vector<TabLayout> tabs = KeplerTabs("E");
  tabs.push_back({"Galileo", Labels({"STBCDa", "STBCDb", "STai0", "STai1", "STai2", "STSFI"})});
  return tabs;
}

std::vector<TabLayout> GlonassTabs() {
  return {
      {"General", Join({Labels({"STtk", "STfrqNum", "STdne"}),
                        {G(" Satellite health ",
                           Labels({"STHeal0", "STHeal1", "STHeal2", "STHeal3", "STHeal4"}))},
                        Labels({"STtb", "STDateGLO", "STTimeGLO"})})},
      {" Ephemeris data",
       Join({{G(" Satellite PE-90 accelerations ", Labels({"STw1", "STw2", "STw3"})),
              G(" Satellite PE-90 velocities [km/s] ", Labels({"STv1", "STv2", "STv3"})),
              G(" Satellite PE-90 coordinates [km] ", Labels({"STr1", "STr2", "STr3"}))},
             Labels({"STage"})})},
      {" Flags and Clock data",
       {G(" Flags ", Labels({"STFlag01", "STFlag2", "STFlag3", "STFlag45", "STFlag6"})),
        G(" Clock data ", Labels({"STtauSys", "STtau", "STgamma"}))}},
  };
}

std::vector<TabLayout> SbasTabs() {
  return {
      {"General",
       {G(" General ", Join({Labels({"STtodGEO", "STuraGEO", "STiodGEO", "STDateGEO", "STTimeGEO"}),
                             {G(" Clock data ", Labels({"STaGf0", "STaGf1"}))},
                             Labels({"STwnGEO", "STtowGEO"})}))}},
      {" Ephemeris data",
       {G(" Satellite PE-90 accelerations [m/s^2] ", Labels({"STw1GEO", "STw2GEO", "STw3GEO"})),
        G(" Satellite PE-90 velocities [m/s] ", Labels({"STv1GEO", "STv2GEO", "STv3GEO"})),
        G(" Satellite PE-90 coordinates [m] ", Labels({"STr1GEO", "STr2GEO", "STr3GEO"}))}},
  };
}

std::vector<TabLayout> TabsOf(SatSystem s) {
  switch (s) {
    case SatSystem::Gps:
      return KeplerTabs("");
    case SatSystem::Glonass:
      return GlonassTabs();
    case SatSystem::Sbas:
      return SbasTabs();
    case SatSystem::Galileo:
      return GalileoTabs();
    default:
      break;
  }
  return {};
}

using LabelMaker = std::function<QLabel*(const std::string& name)>;

void AddNodes(QVBoxLayout* into, const std::vector<Node>& nodes, const LabelMaker& make) {
  for (const Node& node : nodes) {
    if (!node.label.empty()) {
      into->addWidget(make(node.label));
      continue;
    }
    auto* box = new QGroupBox(node.group);
    AddNodes(new QVBoxLayout(box), node.children, make);
    into->addWidget(box);
  }
}

int ButtonId(SatSystem s, int n) {
  return static_cast<int>(s) * 100 + n;
}

// " 1".." 9", "10"..: the button captions.
QString Caption(int n) {
  return QString::number(n).rightJustified(2, ' ');
}

}  // namespace

EphemerisView::EphemerisView(MainWindow& w) : ViewPanel(w, "PEphemGPS") {
  setProperty("helpPage", "ephemerides.html");
  auto* layout = new QVBoxLayout(this);
  title_ = new QLabel("Ephemeris");
  title_->setObjectName("STEphem");
  title_->setAlignment(Qt::AlignCenter);
  title_->setStyleSheet("QLabel { color: white; background-color: navy; font-weight: bold; }");
  layout->addWidget(title_);
  auto* body = new QHBoxLayout;
  auto* pageColumn = new QVBoxLayout;
  for (SatSystem s : kSystems) {
    pages_[static_cast<size_t>(SystemIndex(s))] = BuildPage(s);
    pageColumn->addWidget(pages_[static_cast<size_t>(SystemIndex(s))]);
  }
  body->addLayout(pageColumn, 1);
  body->addWidget(BuildButtonColumn());
  layout->addLayout(body, 1);
  ShowPage(SatSystem::Gps);
  SetArrows();
}

QWidget* EphemerisView::BuildButtonColumn() {
  auto* column = new QWidget;
  auto* v = new QVBoxLayout(column);
  v->setContentsMargins(0, 0, 0, 0);
  buttons_ = new QButtonGroup(this);
  buttons_->setExclusive(true);
  v->addWidget(BuildSystemGroup(SatSystem::Gps, "RGGPS", " GPS ", "RBG"));
  v->addWidget(BuildSystemGroup(SatSystem::Glonass, "GroupBox22", " GLO", "RBR"));
  v->addWidget(BuildSystemGroup(SatSystem::Sbas, "GroupBox7", " GEO ", "RBS"));
  v->addWidget(BuildSystemGroup(SatSystem::Galileo, "GroupBox1", " GAL ", "RBE"));
  // Every click selects, the selected button's too: it shows that satellite's first
  // ephemeris again.
  connect(buttons_, &QButtonGroup::idClicked, this,
          [this](int id) { SelectSatellite(static_cast<SatSystem>(id / 100), id % 100); });
  auto* arrows = new QHBoxLayout;
  less_ = new QPushButton(style()->standardIcon(QStyle::SP_ArrowLeft), "");
  less_->setObjectName("BBLess");
  less_->setToolTip("Get previous");
  more_ = new QPushButton(style()->standardIcon(QStyle::SP_ArrowRight), "");
  more_->setObjectName("BBMore");
  more_->setToolTip("Get next");
  connect(less_, &QPushButton::clicked, this, [this] { ShowPreviousEphemeris(); });
  connect(more_, &QPushButton::clicked, this, [this] { ShowNextEphemeris(); });
  arrows->addWidget(less_);
  arrows->addWidget(more_);
  v->addLayout(arrows);
  v->addStretch(1);
  close_ = new QPushButton("Close");
  close_->setObjectName("BBCloseEph");
  connect(close_, &QPushButton::clicked, this, [this] { CloseView(); });
  v->addWidget(close_);
  return column;
}

QWidget* EphemerisView::BuildSystemGroup(SatSystem s, const char* boxName, const char* title,
                                         const char* prefix) {
  auto* box = new QGroupBox(title);
  box->setObjectName(boxName);
  auto* grid = new QGridLayout(box);
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(0);
  const int first = InfoOf(s).firstLabel;
  for (int n = first; n <= InfoOf(s).lastLabel; ++n) {
    auto* b = new QRadioButton(Caption(n));
    b->setObjectName(prefix + QString::number(n));
    b->setEnabled(false);
    buttons_->addButton(b, ButtonId(s, n));
    grid->addWidget(b, (n - first) / kButtonColumns, (n - first) % kButtonColumns);
  }
  return box;
}

QLabel* EphemerisView::AddLabel(const std::string& name) {
  auto* label = new QLabel;
  label->setObjectName(QString::fromStdString(name));
  label->setTextFormat(Qt::PlainText);
  label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  labels_[name] = label;
  return label;
}

QTabWidget* EphemerisView::BuildPage(SatSystem s) {
  auto* page = new QTabWidget;
  page->setObjectName(EphPageControl(s));
  for (const TabLayout& tab : TabsOf(s)) {
    auto* sheet = new QWidget;
    auto* v = new QVBoxLayout(sheet);
    AddNodes(v, tab.content, [this](const std::string& n) { return AddLabel(n); });
    v->addStretch(1);
    page->addTab(sheet, tab.title);
  }
  return page;
}

QAbstractButton* EphemerisView::Button(SatSystem s, int n) const {
  return buttons_->button(ButtonId(s, n));
}

void EphemerisView::ShowPage(SatSystem s) {
  for (SatSystem other : kSystems)
    pages_[static_cast<size_t>(SystemIndex(other))]->setVisible(other == s);
}

void EphemerisView::Open() {
  window.HideViews();
  const EphemerisStore& store = window.scan().Ephemerides();
  for (SatSystem s : kSystems)
    for (int n = InfoOf(s).firstLabel; n <= InfoOf(s).lastLabel; ++n)
      Button(s, n)->setEnabled(EphButtonEnabled(store, s, n));
  less_->setEnabled(false);
  more_->setEnabled(false);
  ShowPage(SatSystem::Gps);
  window.ShowInFront(this);
  if (const auto pick = EphAutomaticSelection(store)) {
    // Shown afresh even when the button is already the selected one.
    SelectSatellite(pick->first, pick->second);
  } else if (QAbstractButton* chosen = buttons_->checkedButton()) {
    // No automatic choice (SBAS or Galileo only): the satellite chosen before stays, with its
    // own page under its own title.
    const int id = buttons_->id(chosen);
    SelectSatellite(static_cast<SatSystem>(id / 100), id % 100);
  }
  close_->setFocus();
}

void EphemerisView::ResetForScan() {
  system_ = SatSystem::Gps;
  satellite_ = 1;
  ordinal_ = 1;
  // The last scan's selection and texts belong to another log: drop them.
  {
    const QSignalBlocker quiet(buttons_);
    buttons_->setExclusive(false);
    for (QAbstractButton* b : buttons_->buttons()) b->setChecked(false);
    buttons_->setExclusive(true);
  }
  ClearTexts();
  ShowPage(SatSystem::Gps);
  less_->setEnabled(false);
  more_->setEnabled(false);
}

void EphemerisView::ClearTexts() {
  title_->setText("Ephemeris");
  for (auto& [name, label] : labels_) label->clear();
}

void EphemerisView::SelectSatellite(SatSystem s, int n) {
  if (n < 1 || n > InfoOf(s).lastLabel) return;
  if (QAbstractButton* b = Button(s, n); b && !b->isChecked()) {
    const QSignalBlocker quiet(buttons_);
    b->setChecked(true);
  }
  ShowPage(s);
  system_ = s;
  satellite_ = n;
  ordinal_ = 1;
  FillPanel(s, n, 1);
  SetArrows();
}

void EphemerisView::ShowNextEphemeris() {
  ++ordinal_;
  SetArrows();
  FillPanel(system_, satellite_, ordinal_);
}

void EphemerisView::ShowPreviousEphemeris() {
  --ordinal_;
  SetArrows();
  FillPanel(system_, satellite_, ordinal_);
}

void EphemerisView::SetArrows() {
  const EphemerisStore& store = window.scan().Ephemerides();
  less_->setEnabled(EphLessEnabled(ordinal_));
  more_->setEnabled(EphMoreEnabled(store, system_, satellite_, ordinal_));
}

void EphemerisView::FillPanel(SatSystem s, int n, int32_t ordinal) {
  const ScanResult ctx = window.scan();
  const EphemerisPage page = FillEphemerisPage(ctx.Files(), ctx.Ephemerides(), s, n, ordinal);
  for (const std::string& m : page.messages) window.ShowMessage(QString::fromStdString(m));
  if (page.outcome != EphPageOutcome::Filled) return;
  for (const auto& [name, text] : NameEphemerisTexts(page.system, page.texts)) {
    QLabel* label = name == "STEphem" ? title_ : labels_.at(name);
    label->setText(QString::fromStdString(text));
  }
}

}  // namespace vnx::app
