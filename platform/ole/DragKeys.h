#pragma once

// Platform-internal: the Ctrl key of a drag between programs, where the desktop keeps the keys
// from the target.

#include <Qt>

// Under Wayland a program sees the keys only while it has the keyboard: the source of a drag
// has it, a target in another program need not. So a drag that begins with Ctrl held offers
// only a copy, and a target takes an offer of nothing but a copy as Ctrl held: the user's
// Ctrl-drag copies between programs as it does within one. Elsewhere the target sees the keys
// itself and both pass unchanged.
class DragKeys {
public:
    // Whether the desktop keeps the keys from a drag's target (Wayland).
    static bool KeptFromTarget();

    // What a drag offers, given what its source allows and the keys held as it begins.
    static Qt::DropActions Offered(Qt::DropActions allowed, Qt::KeyboardModifiers held,
                                   bool keptFromTarget);

    // The keys a target acts on, given those it sees, what the drag offers and whether the
    // drag began in this program. Where the desktop keeps the keys from a target, the keys it
    // sees during another program's drag are those it last saw before the keyboard left it,
    // which may be a Ctrl long let go: only the offer counts then.
    static Qt::KeyboardModifiers AtTarget(Qt::KeyboardModifiers seen, Qt::DropActions offered,
                                          bool keptFromTarget, bool fromThisProgram);
};
