#pragma once

// Registers the MD5 key, BOOTP relay, IP interface, SSL, access-control
// server, ACL meter, equipment information and About dialogs under their
// class names.
void RegisterDedicatedDialogsSecondHalf();
