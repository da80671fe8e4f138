// The stand-in's own presentation file: XML written with pugixml, whatever the extension.
// Internal to the host library.
#pragma once

#include <memory>
#include <set>
#include <string>

#include <pugixml.hpp>

#include "host/host.h"

namespace host {

struct PresentationFile {
    // Writes everything the model holds to `fileName` through a temporary file in the same
    // folder and a rename, so a failed write leaves any earlier file intact. Throws
    // HostError(E_FAIL) when the file cannot be written.
    static void write(const Presentation& p, const std::string& fileName);
    // Fills an empty presentation from `fileName`. Throws HostError(E_FAIL, "... could not open
    // file ...") when the file is missing, is not this format, or holds bad values.
    static void read(Presentation& p, const std::string& fileName);

private:
    // One shape with its text and, for a group, its members.
    static void writeShape(pugi::xml_node parent, const Shape& shape);
    // `nesting` counts the groups around the shape.
    static std::shared_ptr<Shape> readShape(pugi::xml_node node, Slide* slide, std::set<long>& shapeIds,
                                            long& maxShapeId, int nesting = 0);
};

}  // namespace host
