// The text walker: finds every text frame that the user's selection reaches (the shapes of
// selected slides, selected shapes, members of groups, cells of tables, the text being
// edited) and hands each to one named text operation of the tool object.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <variant>

#include "host/text.h"

namespace plorin {

// What the walker is given, by kind: a selection, a shapes collection, a shape or a text
// frame. Anything else (the empty alternative) is passed over.
struct TextWalkObject {
    std::variant<std::monostate, host::Selection*, host::Shapes*, std::shared_ptr<host::Shape>, host::TextFrame> object;

    TextWalkObject() = default;
    TextWalkObject(host::Selection* selection) : object(selection) {}
    TextWalkObject(host::Shapes* shapes) : object(shapes) {}
    TextWalkObject(std::shared_ptr<host::Shape> shape) : object(std::move(shape)) {}
    TextWalkObject(host::TextFrame frame) : object(std::move(frame)) {}
};

// Calls atFrame for every text frame the object reaches, in the host's order:
// - a selection of slides: each slide's shapes, then, for "setLanguage" only, the shapes of
//   its notes page; of shapes: each shape; of text: the whole frame holding the text;
//   nothing selected: for "setLanguage" the shapes of the first selected slide, when there
//   is one; otherwise the guidance message "Please select one or more slides or shapes
//   first." and nothing more;
// - a shapes collection: each shape;
// - a group: each member; a table: each selected cell's shape, or every cell's shape when
//   none is selected; any other shape: its text frame, when it has one;
// - a text frame: the frame itself.
// Each object reached reports its own failure with "EfficiencyTools, iterate" and is left;
// the walk goes on with the next one. atFrame reports its own failures.
void walkTextFrames(const TextWalkObject& object, const std::string& operation,
                    const std::function<void(const host::TextFrame&)>& atFrame);

// The active window's selection; raises error 91 while no host is connected and the host's
// PP_E_INVALIDREQUEST when no window is open.
host::Selection& activeSelection();

}  // namespace plorin
