#pragma once

// Registers the spanning-tree, time, routing and member-switch dialogs
// under their class names.
void RegisterDedicatedDialogsFirstHalf();
