// The dialog "Agenda Wizard": the user edits the agenda of the active presentation (items on
// two levels with durations, responsible persons and flags; title, subtitle, start time,
// shown columns and style) in a tree with running time slots. OK hands the agenda to the
// slide generator and stores it in the presentation; nothing is written before OK.
// Shown modally by `showAgendaWizard` (addin/agenda_commands.cpp); the upkeep regenerates
// the slides without it (agenda/agenda_run.h).
#pragma once

#include <memory>
#include <string>

#include "agenda/agenda_generator.h"
#include "agenda/agenda_run.h"
#include "platform/ui_forms.h"
#include "platform/xml_dom.h"

namespace host {
class Presentation;
class Slide;
}  // namespace host

namespace plorin {

class AgendaWizard : public platform::Form {
public:
    AgendaWizard();
    ~AgendaWizard() override;

    // Generates the slides and stores the agenda, as the OK button does. Does nothing when
    // preparing the dialog failed or there is no agenda to store.
    void OK();

    // Prepares the dialog: the presentation, the slide to select again afterwards, the style
    // and the agenda (the presentation's own, else the style's template).
    void Form_Load() override;
    // Closes the dialog when its preparation failed.
    void Form_Activate() override;
    void Form_Unload() override;

    // Fills the agenda from the text (path empty) or the file, fills the option fields and
    // rebuilds the tree. False when it is not well-formed XML; the agenda is then unchanged.
    bool loadAgendaXML(const std::string& xml, const std::string& path);
    void saveAgendaOptions();
    void saveCurrentItem();
    // Rebuilds the tree from the agenda; selectId names the item to select (empty keeps the
    // selection). With fillFields the selected item fills the item fields.
    void xml2treeview(bool fillFields, const std::string& selectId);
    void enableAgendaItemControls(bool enabled);

    // Handlers.
    void btnAddItem_Click();
    void btnDeleteItem_Click();
    void btnUp_Click();
    void btnDown_Click();
    void btnLeft_Click();
    void btnRight_Click();
    void btnImport_Click();
    void btnDeleteAgenda_Click();
    void btnOK_Click();
    void btnCancel_Click();
    void cbShowPageNumbers_Click();
    void cbShowTimeSlots_Click();
    void cbShowAgendaItem_Click();
    void cbGenerateAgendaSlide_Click();
    void udDuration_Change();
    void udStart_Change();
    void tbDuration_Validate(bool& cancel);
    void tbStart_Validate(bool& cancel);
    void cbStyle_Validate(bool& cancel);
    void tvItems_NodeClick();

    // State the generator and the tests read.
    platform::DomDocument* agendaDocument() const { return document_.get(); }
    host::Presentation* presentation() const { return presentation_.get(); }
    const std::string& agendaStyle() const { return agendaStyle_; }
    bool failed() const { return failed_; }
    // Identifiers of removed items (and of items an import replaced), each followed by ";".
    const std::string& obsoleteSlides() const { return obsoleteSlides_; }
    void clearObsoleteSlides() { obsoleteSlides_.clear(); }
    const std::string& enumerate2ndLevel() const { return enumerate2ndLevel_; }
    int enumerateBreak() const { return enumerateBreak_; }
    // The generator's measurements of the last OK.
    AgendaMetrics& metrics() { return metrics_; }
    // What the generator draws, as the fields show it.
    AgendaSlideOptions slideOptions() const;
    // True while the tree is being rebuilt.
    bool treeRedrawLocked() const { return treeRedrawLocked_; }

    platform::TreeView tvItems{*this, "tvItems"};
    platform::CommandButton btnAddItem{*this, "btnAddItem"};
    platform::CommandButton btnDeleteItem{*this, "btnDeleteItem"};
    platform::Label lPosition{*this, "lPosition"};
    platform::CommandButton btnUp{*this, "btnUp"};
    platform::CommandButton btnDown{*this, "btnDown"};
    platform::CommandButton btnLeft{*this, "btnLeft"};
    platform::CommandButton btnRight{*this, "btnRight"};
    platform::Label lAgendaItem{*this, "lAgendaItem"};
    platform::TextBox tbAgendaItem{*this, "tbAgendaItem"};
    platform::Label lResponsible{*this, "lResponsible"};
    platform::Label lResponsibleOptional{*this, "lResponsibleOptional"};
    platform::TextBox tbResponsible{*this, "tbResponsible"};
    platform::Label lDuration{*this, "lDuration"};
    platform::Label lDurationUnit{*this, "lDurationUnit"};
    platform::TextBox tbDuration{*this, "tbDuration"};
    platform::ScrollBar udDuration{*this, "udDuration"};
    platform::CheckBox cbBreak{*this, "cbBreak"};
    platform::CheckBox cbShowAgendaItem{*this, "cbShowAgendaItem"};
    platform::CheckBox cbGenerateAgendaSlide{*this, "cbGenerateAgendaSlide"};
    platform::Label lTitle{*this, "lTitle"};
    platform::TextBox tbTitle{*this, "tbTitle"};
    platform::Label lSubtitle{*this, "lSubtitle"};
    platform::Label lSubtitleOptional{*this, "lSubtitleOptional"};
    platform::TextBox tbSubtitle{*this, "tbSubtitle"};
    platform::Label lStart{*this, "lStart"};
    platform::TextBox tbStart{*this, "tbStart"};
    platform::ScrollBar udStart{*this, "udStart"};
    platform::Label lEndCaption{*this, "lEndCaption"};
    platform::Label lEnd{*this, "lEnd"};
    platform::CheckBox cbShowItemNumbers{*this, "cbShowItemNumbers"};
    platform::CheckBox cbShowResponsible{*this, "cbShowResponsible"};
    platform::CheckBox cbShowTimeSlots{*this, "cbShowTimeSlots"};
    platform::CheckBox cbShowPageNumbers{*this, "cbShowPageNumbers"};
    platform::ComboBox cbStyle{*this, "cbStyle"};
    platform::CommandButton btnImport{*this, "btnImport"};
    platform::CommandButton btnDeleteAgenda{*this, "btnDeleteAgenda"};
    platform::CommandButton btnOK{*this, "btnOK"};
    platform::CommandButton btnCancel{*this, "btnCancel"};
    platform::PictureBox pbCoffee{*this, "pbCoffee"};
    platform::PictureBox Picture2{*this, "Picture2"};
    platform::Line Line1{*this, "Line1"};
    platform::Line Shape1{*this, "Shape1"};

    // The subtitle field's text when the agenda's style has no subtitle box.
    static constexpr const char* kNoSubtitle = kNoSubtitleText;

private:
    void prepare();
    bool chooseDocument();
    platform::DomNode selectedItem() const;
    std::string selectedId() const;
    int selectedIndex() const { return tvItems.selectedIndex; }
    void setLevel(platform::DomNode& item, int level);
    void swapItems(platform::DomNode first, platform::DomNode second);
    // Template of the style at that position of the style box, or nullptr (message shown).
    std::unique_ptr<platform::DomDocument> loadStyleTemplate(int styleIndex);
    void selectSlideAtOpen();

    std::unique_ptr<platform::DomDocument> document_;
    std::shared_ptr<host::Presentation> presentation_;
    std::shared_ptr<host::Slide> slideAtOpen_;
    std::string agendaStyle_;
    bool loading_ = false;
    bool failed_ = false;
    std::string obsoleteSlides_;
    std::string declaration_;  // the stored agenda's XML declaration, written back as it came
    bool treeRedrawLocked_ = false;
    AgendaMetrics metrics_;
    std::string enumerate2ndLevel_;
    int enumerateBreak_ = 0;
};

}  // namespace plorin
