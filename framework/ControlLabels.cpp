#include "framework/ControlLabels.h"

namespace afx {
namespace {

struct Box {
    int x, y, cx, cy;
    bool Contains(const Box& other) const {
        return other.x >= x && other.y >= y && other.x + other.cx <= x + cx && other.y + other.cy <= y + cy;
    }
};

Box BoxOf(const DialogItem& item) {
    // A combo box's height in the template is that of its list; the box itself is one line high.
    const int height = item.kind == ControlKind::ComboBox ? 14 : item.cy;
    return {item.x, item.y, item.cx, height};
}

const DialogItem* GroupOf(std::span<const DialogItem> items, const Box& box) {
    const DialogItem* best = nullptr;
    for (const DialogItem& group : items) {
        if (group.kind == ControlKind::GroupBox && BoxOf(group).Contains(box) &&
            (best == nullptr || group.cx * group.cy < best->cx * best->cy)) {
            best = &group;
        }
    }
    return best;
}

}  // namespace

bool NamedByLabel(ControlKind kind) {
    return kind == ControlKind::Edit || kind == ControlKind::ComboBox || kind == ControlKind::IPAddress;
}

const DialogItem* LabelOf(std::span<const DialogItem> items, const DialogItem& item) {
    const Box box = BoxOf(item);
    const DialogItem* group = GroupOf(items, box);
    const DialogItem* left = nullptr;
    const DialogItem* above = nullptr;
    for (const DialogItem& label : items) {
        if (label.kind != ControlKind::Static || GroupOf(items, BoxOf(label)) != group) {
            continue;
        }
        const Box l = BoxOf(label);
        const bool sameRow = l.y < box.y + box.cy && box.y < l.y + l.cy;
        const bool sameColumn = l.x < box.x + box.cx && box.x < l.x + l.cx;
        if (sameRow && l.x + l.cx <= box.x + 2 && (left == nullptr || l.x > left->x)) {
            left = &label;
        } else if (sameColumn && l.y + l.cy <= box.y && (above == nullptr || l.y > above->y)) {
            above = &label;
        }
    }
    return left != nullptr ? left : above != nullptr ? above : group;
}

}  // namespace afx
