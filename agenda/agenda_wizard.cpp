#include "agenda/agenda_wizard.h"

#include "agenda/agenda_document.h"
#include "agenda/agenda_generator.h"
#include "agenda/agenda_run.h"
#include "agenda/agenda_template.h"
#include "core/errors.h"
#include "core/guid.h"
#include "core/numbers.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "host/host.h"
#include "platform/text.h"
#include "platform/ui_driver.h"
#include "platform/ui_forms.h"

namespace plorin {

namespace {

int message(const std::string& text, int style) { return platform::MsgBox(text, style, kProductName); }
void critical(const std::string& text) { message(text, platform::vbCritical); }
void information(const std::string& text) { message(text, platform::vbInformation); }

std::string flagText(const platform::CheckBox& box) { return box.Value() == 1 ? "1" : "0"; }

std::string keyOf(const std::string& slideId) { return kItemKeyPrefix + slideId; }
std::string idOfKey(const std::string& key) { return key.size() >= 2 ? key.substr(2) : std::string(); }

// The tree's redraw is locked while it is rebuilt and unlocked again on every path.
class RedrawLock {
public:
    explicit RedrawLock(bool& locked) : locked_(locked) { locked_ = true; }
    ~RedrawLock() { locked_ = false; }
    RedrawLock(const RedrawLock&) = delete;
    RedrawLock& operator=(const RedrawLock&) = delete;

private:
    bool& locked_;
};

}  // namespace

AgendaWizard::AgendaWizard() : platform::Form("AgendaWizard") {
    Caption = "Agenda Wizard";
    btnAddItem.Caption = "&Add item";
    btnAddItem.ToolTipText = "Add new item to Agenda";
    btnDeleteItem.Caption = "&Delete item";
    btnDeleteItem.ToolTipText = "Delete agenda item";
    lPosition.Caption = "Position";
    btnUp.ToolTipText = "Move item up";
    btnDown.ToolTipText = "Move item down";
    btnLeft.ToolTipText = "One level up";
    btnRight.ToolTipText = "One level down";
    lAgendaItem.Caption = "Agenda item";
    tbAgendaItem.setText("<New item>");
    lResponsible.Caption = "Responsible";
    lResponsibleOptional.Caption = "(optional)";
    lDuration.Caption = "Duration";
    lDurationUnit.Caption = "(in minutes)";
    tbDuration.setText("30");
    udDuration.Min = -kMinutesPerDay;
    udDuration.Max = 0;
    udDuration.SmallChange = 15;
    udDuration.setValue(-30);
    cbBreak.Caption = "Break";
    cbBreak.ToolTipText = "Format this agenda item as break and skip item number";
    cbShowAgendaItem.Caption = "Show agenda item";
    cbShowAgendaItem.ToolTipText =
        "Show this agenda item in the agenda. This option may be useful if you don't want to show a coffee break as "
        "an agenda item but still consider it in the automatic calculation of the time slots.";
    cbGenerateAgendaSlide.Caption = "Generate agenda slide";
    cbGenerateAgendaSlide.ToolTipText = "Generate an agenda slide for this agenda item";
    lTitle.Caption = "Title";
    tbTitle.setText("Agenda");
    lSubtitle.Caption = "Subtitle";
    lSubtitleOptional.Caption = "(optional)";
    lStart.Caption = "Start time";
    tbStart.setText("09:00");
    udStart.Min = -(kMinutesPerDay - 1);
    udStart.Max = 0;
    udStart.SmallChange = 15;
    lEndCaption.Caption = "End time";
    lEnd.Caption = "09:00";
    cbShowItemNumbers.Caption = "Show item numbers";
    cbShowResponsible.Caption = "Show responsible";
    cbShowTimeSlots.Caption = "Show time slots";
    cbShowPageNumbers.Caption = "Show page numbers";
    cbShowPageNumbers.ToolTipText = "Shows the page numbers for each agenda item";
    btnImport.Caption = "&Import agenda from another presentation";
    btnDeleteAgenda.Caption = "Delete agenda";
    btnOK.Caption = "&OK";
    btnOK.Default = true;
    btnCancel.Caption = "&Cancel";
    btnCancel.Cancel = true;
    btnCancel.CausesValidation = false;  // a refused value never keeps the user from leaving

    const auto saveItem = [this] {
        if (!loading_) saveCurrentItem();
    };
    const auto saveOptions = [this] {
        if (!loading_) saveAgendaOptions();
    };
    // A typed or pasted text loses what XML cannot carry before it reaches the agenda: the
    // field is set again without it, which saves the clean text.
    const auto carried = [](platform::TextBox& box, const std::function<void()>& save) {
        return [&box, save] {
            const std::string clean = platform::withoutNonXmlCharacters(box.Text());
            if (clean != box.Text()) box.setText(clean);
            else save();
        };
    };
    tbAgendaItem.onChange = carried(tbAgendaItem, saveItem);
    tbResponsible.onChange = carried(tbResponsible, saveItem);
    cbBreak.onClick = saveItem;
    tbTitle.onChange = carried(tbTitle, saveOptions);
    tbSubtitle.onChange = carried(tbSubtitle, saveOptions);
    cbShowItemNumbers.onClick = saveOptions;
    cbShowResponsible.onClick = saveOptions;
    cbShowPageNumbers.onClick = [this] { cbShowPageNumbers_Click(); };
    cbShowTimeSlots.onClick = [this] { cbShowTimeSlots_Click(); };
    cbShowAgendaItem.onClick = [this] { cbShowAgendaItem_Click(); };
    cbGenerateAgendaSlide.onClick = [this] { cbGenerateAgendaSlide_Click(); };
    udDuration.onChange = [this] { udDuration_Change(); };
    udStart.onChange = [this] { udStart_Change(); };
    tbDuration.onValidate = [this](bool& cancel) { tbDuration_Validate(cancel); };
    tbStart.onValidate = [this](bool& cancel) { tbStart_Validate(cancel); };
    cbStyle.onValidate = [this](bool& cancel) { cbStyle_Validate(cancel); };
    tvItems.onNodeClick = [this] { tvItems_NodeClick(); };
    btnAddItem.onClick = [this] { btnAddItem_Click(); };
    btnDeleteItem.onClick = [this] { btnDeleteItem_Click(); };
    btnUp.onClick = [this] { btnUp_Click(); };
    btnDown.onClick = [this] { btnDown_Click(); };
    btnLeft.onClick = [this] { btnLeft_Click(); };
    btnRight.onClick = [this] { btnRight_Click(); };
    btnImport.onClick = [this] { btnImport_Click(); };
    btnDeleteAgenda.onClick = [this] { btnDeleteAgenda_Click(); };
    btnOK.onClick = [this] { btnOK_Click(); };
    btnCancel.onClick = [this] { btnCancel_Click(); };
}

AgendaWizard::~AgendaWizard() = default;

// ---- Preparing and closing -------------------------------------------------------------

void AgendaWizard::Form_Load() {
    failed_ = true;  // until the agenda is loaded: OK never stores a half-prepared agenda
    trap("AgendaWizard, Form_Load", [&] { prepare(); });
}

void AgendaWizard::prepare() {
    document_.reset();
    presentation_.reset();
    slideAtOpen_.reset();
    obsoleteSlides_.clear();
    declaration_.clear();
    host::Application& app = hostApplication();
    // The agenda belongs to the active window's presentation; one open without a window
    // cannot be worked on either.
    if (app.Presentations().Count() == 0 || app.Windows().Count() == 0) {
        information("Please open a presentation first.");
        return;
    }
    presentation_ = app.ActivePresentation();
    slideAtOpen_ = firstSelectedSlide();
    if (!chooseDocument()) return;
    failed_ = false;
    warnOfManualChanges(*presentation_);
}

bool AgendaWizard::chooseDocument() {
    std::string style = presentation_->Tags().Item(kAgendaStyleTag);
    if (style.empty()) style = state().currentStyle;
    loading_ = true;
    cbStyle.Clear();
    const auto& names = state().styleNames;
    for (int i = 1; i <= names.Count(); ++i) cbStyle.AddItem(names.Item(i));
    const int chosen = agendaStyleIndex(style);
    if (chosen >= 0) cbStyle.setListIndex(chosen);
    loading_ = false;
    agendaStyle_ = cbStyle.Text();

    const std::string stored = presentation_->Tags().Item(kAgendaXmlTag);
    if (stored.empty()) {
        std::unique_ptr<platform::DomDocument> agendaTemplate = loadStyleTemplate(cbStyle.ListIndex());
        if (!agendaTemplate || !loadAgendaXML(agendaTemplate->xml(), "")) {
            if (agendaTemplate) critical(corruptedAgendaTemplateMessage());
            return false;
        }
        // A template's items start a new agenda: their identifiers must name no slide of any
        // presentation, and an item with a slide is one the agenda shows.
        renewAgendaItemIds(*document_, kItemKeyPrefix);
        normaliseAgendaItems(*document_);
        xml2treeview(true, "");
        return true;
    }
    if (!loadAgendaXML(stored, "")) {
        critical(corruptedAgendaDataMessage());
        return false;
    }
    return true;
}

std::unique_ptr<platform::DomDocument> AgendaWizard::loadStyleTemplate(int styleIndex) {
    auto doc = std::make_unique<platform::DomDocument>();
    const auto& folders = state().styleFolders;
    if (styleIndex < 0 || styleIndex >= folders.Count() ||
        !doc->load(state().layout.styles + folders.Item(styleIndex + 1) + "/" + kAgendaTemplateFile) ||
        !doc->selectSingleNode("/Varnotel/agenda")) {
        critical(corruptedAgendaTemplateMessage());
        return nullptr;
    }
    return doc;
}

void AgendaWizard::Form_Activate() {
    if (failed_) Unload();
}

void AgendaWizard::Form_Unload() {
    document_.reset();
    presentation_.reset();
    slideAtOpen_.reset();
}

void AgendaWizard::selectSlideAtOpen() { selectSlideAgain(slideAtOpen_); }

// ---- The document and the fields -------------------------------------------------------

bool AgendaWizard::loadAgendaXML(const std::string& xml, const std::string& path) {
    AgendaFields fields;
    std::unique_ptr<platform::DomDocument> fresh = readAgenda(xml, path, fields);
    if (!fresh) return false;
    document_ = std::move(fresh);
    declaration_ = path.empty() ? leadingDeclaration(xml) : std::string();
    loading_ = true;
    try {
        cbShowItemNumbers.setValue(fields.itemNumbers);
        cbShowResponsible.setValue(fields.responsible);
        cbShowTimeSlots.setValue(fields.timeSlots);
        cbShowPageNumbers.setValue(fields.pageNumbers);
        udStart.setValue(-static_cast<int>(fields.startMinutes));
        tbStart.setText(clockText(fields.startMinutes));
        tbTitle.setText(fields.title);
        if (!fields.hasSubtitle) {
            tbSubtitle.setText(kNoSubtitle);
            tbSubtitle.Enabled = false;
        } else {
            tbSubtitle.setText(fields.subtitle);
        }
    } catch (...) {
        loading_ = false;
        throw;
    }
    loading_ = false;
    xml2treeview(true, "");
    return true;
}

void AgendaWizard::saveAgendaOptions() {
    trap("AgendaWizard, saveAgendaOptions", [&] {
        if (!document_) return;
        platform::DomNode agenda = agendaElement(*document_);
        agenda.setAttribute("showItemNumbers", flagText(cbShowItemNumbers));
        agenda.setAttribute("showResponsible", flagText(cbShowResponsible));
        agenda.setAttribute("showTimeSlots", flagText(cbShowTimeSlots));
        agenda.setAttribute("showPageNumbers", flagText(cbShowPageNumbers));
        agenda.setAttribute("title", tbTitle.Text());
        if (tbSubtitle.Enabled) agenda.setAttribute("subtitle", tbSubtitle.Text());
        agenda.setAttribute("startTime", std::to_string(-udStart.Value()));
        xml2treeview(false, "");
    });
}

void AgendaWizard::saveCurrentItem() {
    trap("AgendaWizard, saveCurrentItem", [&] {
        if (!document_) return;
        platform::DomNode item = selectedItem();
        if (!item) return;
        item.setAttribute("text", tbAgendaItem.Text());
        item.setAttribute("responsible", tbResponsible.Text());
        item.setAttribute("duration", std::to_string(-udDuration.Value()));
        item.setAttribute("break", flagText(cbBreak));
        item.setAttribute("generateAgendaSlide", flagText(cbGenerateAgendaSlide));
        item.setAttribute("showAgendaItem", flagText(cbShowAgendaItem));
        xml2treeview(false, "");
    });
}

platform::DomNode AgendaWizard::selectedItem() const {
    if (!document_) return {};
    const std::string id = selectedId();
    return id.empty() ? platform::DomNode() : findAgendaItem(*document_, id);
}

std::string AgendaWizard::selectedId() const {
    const int i = tvItems.selectedIndex;
    if (i < 0 || i >= static_cast<int>(tvItems.nodes.size())) return {};
    return idOfKey(tvItems.nodes[static_cast<std::size_t>(i)].key);
}

void AgendaWizard::xml2treeview(bool fillFields, const std::string& selectId) {
    trap("AgendaWizard, xml2treeview", [&] {
        if (!document_) return;
        const platform::DomNode format = document_->selectSingleNode("/Varnotel/agenda/format");
        if (!format) raiseObjectNotSet("format");
        enumerate2ndLevel_ = agendaAttribute(format, "enumerate2ndLevel");
        enumerateBreak_ = toInteger16(agendaAttribute(format, "enumerateBreak"));
        const std::string wanted = !selectId.empty() ? keyOf(selectId) : keyOf(selectedId());

        // Read before the tree is touched: an agenda that cannot be shown leaves the tree as it was.
        const AgendaTree tree =
            buildAgendaTree(*document_, {cbShowItemNumbers.Value() == 1, cbShowResponsible.Value() == 1,
                                         cbShowTimeSlots.Value() == 1, static_cast<std::int64_t>(-udStart.Value())});

        RedrawLock lock(treeRedrawLocked_);
        tvItems.nodes.clear();
        tvItems.selectedIndex = -1;
        std::string parentKey;
        for (const AgendaTreeRow& row : tree.rows) {
            platform::TreeNode node;
            node.key = keyOf(row.slideId);
            node.text = row.label;
            node.expanded = true;
            if (row.level == 1) parentKey = node.key;
            else if (row.child) node.parentKey = parentKey;
            if (node.key == wanted && tvItems.selectedIndex < 0)
                tvItems.selectedIndex = static_cast<int>(tvItems.nodes.size());
            tvItems.nodes.push_back(std::move(node));
        }
        lEnd.Caption = clockText(tree.endMinutes);
        if (!tvItems.nodes.empty() && tvItems.selectedIndex < 0) tvItems.selectedIndex = 0;

        if (!fillFields) return;
        loading_ = true;
        try {
            if (tvItems.nodes.empty()) {
                tbAgendaItem.setText("");
                tbResponsible.setText("");
                udDuration.setValue(-30);
                tbDuration.setText("30");
                cbBreak.setValue(0);
                cbGenerateAgendaSlide.setValue(1);
                cbShowAgendaItem.setValue(1);
                enableAgendaItemControls(false);
            } else {
                const platform::DomNode item = selectedItem();
                const std::int64_t duration = integerAttribute(item, "duration", 0, kMinutesPerDay);
                tbAgendaItem.setText(agendaAttribute(item, "text"));
                tbResponsible.setText(agendaAttribute(item, "responsible"));
                udDuration.setValue(-static_cast<int>(duration));
                tbDuration.setText(std::to_string(duration));
                cbBreak.setValue(flagAttribute(item, "break") ? 1 : 0);
                cbGenerateAgendaSlide.setValue(flagAttribute(item, "generateAgendaSlide") ? 1 : 0);
                cbShowAgendaItem.setValue(flagAttribute(item, "showAgendaItem") ? 1 : 0);
                enableAgendaItemControls(true);
            }
        } catch (...) {
            loading_ = false;
            throw;
        }
        loading_ = false;
    });
}

void AgendaWizard::enableAgendaItemControls(bool enabled) {
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &tbAgendaItem, &tbResponsible, &tbDuration, &udDuration, &cbBreak, &cbGenerateAgendaSlide,
             &cbShowAgendaItem, &btnLeft, &btnUp, &btnRight, &btnDown})
        c->Enabled = enabled;
}

// ---- Options and item fields -----------------------------------------------------------

void AgendaWizard::cbShowPageNumbers_Click() {
    trap("AgendaWizard, cbShowPageNumbers_Click", [&] {
        if (cbShowPageNumbers.Value() == 1 && cbShowTimeSlots.Value() == 1) cbShowTimeSlots.setValue(0);
        if (!loading_) saveAgendaOptions();
    });
}

void AgendaWizard::cbShowTimeSlots_Click() {
    trap("AgendaWizard, cbShowTimeSlots_Click", [&] {
        if (cbShowPageNumbers.Value() == 1 && cbShowTimeSlots.Value() == 1) cbShowPageNumbers.setValue(0);
        if (!loading_) saveAgendaOptions();
    });
}

void AgendaWizard::cbShowAgendaItem_Click() {
    trap("AgendaWizard, cbShowAgendaItem_Click", [&] {
        if (cbShowAgendaItem.Value() == 0) cbGenerateAgendaSlide.setValue(0);
        if (!loading_) saveCurrentItem();
    });
}

void AgendaWizard::cbGenerateAgendaSlide_Click() {
    trap("AgendaWizard, cbGenerateAgendaSlide_Click", [&] {
        if (cbGenerateAgendaSlide.Value() == 1) cbShowAgendaItem.setValue(1);
        if (!loading_) saveCurrentItem();
    });
}

void AgendaWizard::udDuration_Change() {
    trap("AgendaWizard, udDuration_Change", [&] {
        if (tbDuration.Enabled && Visible()) SetFocus(tbDuration);
        tbDuration.setText(std::to_string(-udDuration.Value()));
        if (!loading_) saveCurrentItem();
    });
}

void AgendaWizard::udStart_Change() {
    trap("AgendaWizard, udStart_Change", [&] {
        if (tbStart.Enabled && Visible()) SetFocus(tbStart);
        tbStart.setText(clockText(-udStart.Value()));
        if (!tvItems.nodes.empty()) xml2treeview(false, "");
        if (!loading_) saveAgendaOptions();
    });
}

void AgendaWizard::tbDuration_Validate(bool& cancel) {
    trap("AgendaWizard, tbDuration_Validate", [&] {
        double minutes = 0;
        try {
            minutes = toNumber(tbDuration.Text());
        } catch (const platform::NumberedError&) {
            critical("Please enter a numeric value.");
            cancel = true;
        }
        if (!cancel && !(minutes >= 0 && minutes <= kMinutesPerDay)) {
            critical("Please enter a value between 0 and 1440 minutes.");
            cancel = true;
        }
        if (!cancel) {
            const int whole = static_cast<int>(roundHalfEven(minutes));
            udDuration.setValue(-whole);
            tbDuration.setText(std::to_string(whole));
        }
        if (!loading_) saveCurrentItem();
    });
}

void AgendaWizard::tbStart_Validate(bool& cancel) {
    trap("AgendaWizard, tbStart_Validate", [&] {
        const std::optional<double> value = dateValue(tbStart.Text());
        if (!value) {
            critical("Please enter a valid time (hh:mm).");
            cancel = true;
            return;
        }
        if (!(*value >= 0 && *value < 1)) {
            critical("Please enter a valid time between 00:00 and 23:59.");
            cancel = true;
            return;
        }
        // Seconds may round up to midnight; the latest start is 23:59.
        const int minutes = std::min(static_cast<int>(roundHalfEven(*value * kMinutesPerDay)), kMinutesPerDay - 1);
        udStart.setValue(-minutes);
        tbStart.setText(clockText(minutes));
        if (!loading_) saveAgendaOptions();
    });
}

void AgendaWizard::cbStyle_Validate(bool& cancel) {
    trap("AgendaWizard, cbStyle_Validate", [&] {
        if (!document_) return;
        std::unique_ptr<platform::DomDocument> agendaTemplate = loadStyleTemplate(cbStyle.ListIndex());
        if (!agendaTemplate) {
            cancel = true;
            return;
        }
        takeAgendaStyle(*document_, *agendaTemplate);
        agendaStyle_ = cbStyle.Text();
        // A style that brings a subtitle box gives the field back, empty: the placeholder
        // text of a style without one is no subtitle.
        if (!tbSubtitle.Enabled && agendaTemplate->selectSingleNode("/Varnotel/agenda/subtitle")) {
            tbSubtitle.Enabled = true;
            tbSubtitle.setText("");
            agendaElement(*document_).setAttribute("subtitle", "");
        }
        xml2treeview(false, "");
    });
}

void AgendaWizard::tvItems_NodeClick() {
    trap("AgendaWizard, tvItems_NodeClick", [&] { xml2treeview(true, ""); });
}

// ---- Editing the items -----------------------------------------------------------------

void AgendaWizard::setLevel(platform::DomNode& item, int level) { item.setAttribute("level", std::to_string(level)); }

void AgendaWizard::btnAddItem_Click() {
    trap("AgendaWizard, btnAddItem_Click", [&] {
        if (!document_) return;
        const std::string id = getGUID();
        if (id.empty()) raiseError(errOutOfMemory, "No new identifier could be made.");
        const int i = tvItems.selectedIndex;
        const bool child = i >= 0 && i < static_cast<int>(tvItems.nodes.size()) &&
                           !tvItems.nodes[static_cast<std::size_t>(i)].parentKey.empty();
        platform::DomNode item = newAgendaItem(*document_, id, child ? 2 : 1);
        platform::DomNode items = agendaItems(*document_);
        const platform::DomNode selected = selectedItem();
        items.insertBefore(item, selected ? selected.nextSibling() : platform::DomNode());
        xml2treeview(true, id);
    });
}

void AgendaWizard::btnDeleteItem_Click() {
    trap("AgendaWizard, btnDeleteItem_Click", [&] {
        platform::DomNode item = selectedItem();
        if (!item) return;
        const int i = tvItems.selectedIndex;
        const int count = static_cast<int>(tvItems.nodes.size());
        const std::string neighbour = i + 1 < count ? idOfKey(tvItems.nodes[static_cast<std::size_t>(i + 1)].key)
                                      : i > 0       ? idOfKey(tvItems.nodes[static_cast<std::size_t>(i - 1)].key)
                                                    : std::string();
        obsoleteSlides_ += agendaAttribute(item, "slideID") + ";";
        item.parentNode().removeChild(item);
        tvItems.selectedIndex = -1;
        xml2treeview(true, neighbour);
    });
}

// Up and down both swap an item with the one after it; the one that comes first in the
// agenda this way is a main item.
void AgendaWizard::swapItems(platform::DomNode first, platform::DomNode second) {
    if (!first || !second) return;
    if (!first.previousSibling() && agendaAttribute(second, "level") == "2") setLevel(second, 1);
    first.parentNode().insertBefore(second, first);
    xml2treeview(false, "");
}

void AgendaWizard::btnUp_Click() {
    trap("AgendaWizard, btnUp_Click", [&] {
        const platform::DomNode item = selectedItem();
        if (item) swapItems(item.previousSibling(), item);
    });
}

void AgendaWizard::btnDown_Click() {
    trap("AgendaWizard, btnDown_Click", [&] {
        const platform::DomNode item = selectedItem();
        if (item) swapItems(item, item.nextSibling());
    });
}

void AgendaWizard::btnLeft_Click() {
    trap("AgendaWizard, btnLeft_Click", [&] {
        platform::DomNode item = selectedItem();
        if (!item || tvItems.nodes[static_cast<std::size_t>(tvItems.selectedIndex)].parentKey.empty()) return;
        setLevel(item, 1);
        xml2treeview(false, "");
    });
}

void AgendaWizard::btnRight_Click() {
    trap("AgendaWizard, btnRight_Click", [&] {
        platform::DomNode item = selectedItem();
        if (!item) return;
        const int i = tvItems.selectedIndex;
        if (!tvItems.nodes[static_cast<std::size_t>(i)].parentKey.empty()) return;
        bool earlierTopLevel = false;
        for (int k = 0; k < i; ++k)
            if (tvItems.nodes[static_cast<std::size_t>(k)].parentKey.empty()) earlierTopLevel = true;
        if (!earlierTopLevel) return;
        setLevel(item, 2);
        xml2treeview(false, "");
    });
}

// ---- Import, delete, OK and Cancel -----------------------------------------------------

void AgendaWizard::btnImport_Click() {
    trap("AgendaWizard, btnImport_Click", [&] {
        if (!document_) return;
        const std::optional<std::string> path =
            platform::uiDriver().fileDialog("Import agenda from another presentation...", "");
        if (!path || path->empty()) return;
        std::string stored;
        try {
            // Read-only and without a window: the other presentation is only read.
            auto other = hostApplication().Presentations().Open(*path, true, false, false);
            struct Closer {
                std::shared_ptr<host::Presentation> p;
                ~Closer() {
                    ignoreErrors([&] {
                        p->setSaved(true);
                        p->Close();
                    });
                }
            } closer{other};
            stored = other->Tags().Item(kAgendaXmlTag);
        } catch (const host::HostError& e) {
            if (e.number() != host::E_FAIL) throw;
            critical("Could not read file '" + *path + "'.");
            return;
        }
        if (stored.empty()) {
            information("The specified PowerPoint presentation does not contain agenda information.");
            return;
        }
        std::vector<std::string> replaced;
        for (const platform::DomNode item : document_->selectNodes("/Varnotel/agenda/items/item"))
            replaced.push_back(item.getAttribute("slideID").value_or(""));
        if (!loadAgendaXML(stored, "")) {
            critical("The agenda information in the specified PowerPoint presentation does not seem to be valid.");
            return;
        }
        // The replaced items' slides go with them when the agenda is next generated.
        for (const auto& id : replaced) obsoleteSlides_ += id + ";";
        renewAgendaItemIds(*document_, kItemKeyPrefix);
        normaliseAgendaItems(*document_);
        xml2treeview(true, "");
    });
}

void AgendaWizard::btnDeleteAgenda_Click() {
    trap("AgendaWizard, btnDeleteAgenda_Click", [&] {
        if (!document_ || !presentation_) return;
        if (message("Are you sure you want to delete the agenda and remove all agenda slides from the presentation?",
                    platform::vbOKCancel | platform::vbQuestion | platform::vbDefaultButton2) != platform::vbOK)
            return;
        int removed = 0;
        const auto removeSlideOf = [&](const std::string& id) {
            if (id.empty()) return;
            if (auto slide = findSlide(*presentation_, id)) {
                slide->Delete();
                ++removed;
            }
        };
        for (const platform::DomNode item : document_->selectNodes("/Varnotel/agenda/items/item"))
            removeSlideOf(agendaAttribute(item, "slideID"));
        // Items deleted earlier in this dialog still have their slides.
        std::size_t from = 0;
        for (std::size_t end; (end = obsoleteSlides_.find(';', from)) != std::string::npos; from = end + 1)
            removeSlideOf(obsoleteSlides_.substr(from, end - from));
        obsoleteSlides_.clear();
        host::Tags& tags = presentation_->Tags();
        tags.Delete(kAgendaXmlTag);
        tags.Delete(kAgendaStyleTag);
        tags.Delete(kSlideOrderTag);
        information("The agenda has successfully been deleted and " + std::to_string(removed) +
                    " agenda slides have been removed from the presentation.");
        selectSlideAtOpen();
        Unload();
    });
}

void AgendaWizard::OK() { btnOK_Click(); }

AgendaSlideOptions AgendaWizard::slideOptions() const {
    AgendaSlideOptions options;
    options.document = document_.get();
    options.presentation = presentation_.get();
    options.itemNumbers = cbShowItemNumbers.Value() == 1;
    options.responsible = cbShowResponsible.Value() == 1;
    options.timeSlots = cbShowTimeSlots.Value() == 1;
    options.pageNumbers = cbShowPageNumbers.Value() == 1;
    options.title = tbTitle.Text();
    options.subtitle = tbSubtitle.Text();
    options.obsoleteSlides = obsoleteSlides_;
    return options;
}

void AgendaWizard::btnOK_Click() {
    // Nothing to store when the agenda never loaded: the presentation keeps its own.
    if (failed_ || !document_ || !presentation_ || !document_->selectSingleNode("/Varnotel/agenda")) return;
    // Checked while the dialog is still open, so the user can shorten the agenda at once.
    if (!agendaFitsOnSlides(*document_)) return;
    const auto store = [&] {
        presentation_->Tags().Add(kAgendaXmlTag, declaration_ + document_->xml());
        presentation_->Tags().Add(kAgendaStyleTag, agendaStyle_);
    };
    Hide();
    AgendaSlideOptions options = slideOptions();
    const AgendaRunEnd end = runAgendaSlides(options, metrics_, store);
    obsoleteSlides_ = options.obsoleteSlides;
    if (end == AgendaRunEnd::failed) return;
    trap("AgendaWizard, OK", [&] {
        Unload();
        if (end == AgendaRunEnd::done) selectSlideAtOpen();
    });
}

void AgendaWizard::btnCancel_Click() { Unload(); }

}  // namespace plorin
