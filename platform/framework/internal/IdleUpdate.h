#pragma once

// Platform-internal: bringing the command states of menus and toolbars up to date.

// Schedules a refresh of every frame's control bars for when the event loop is next idle.
// Input schedules one by itself; whatever else changes what commands are available (the
// clipboard's contents) asks for one here.
void AfxScheduleIdleUpdate();
