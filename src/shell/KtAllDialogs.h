#pragma once

// Registers every dialog the menu opens by class name (monitors and
// dedicated dialogs). Called once at start-up, before the menu is built:
// an entry whose dialog is not registered then stays disabled.
void RegisterAllDialogs();
