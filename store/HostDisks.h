#pragma once

#include <QString>

// Whether `path` lies on a file system of this host's own disks or memory. There a file's
// name and an open file of it tell the same file apart until the name is given to another,
// whoever renames it, another workstation through this host's file server included. A network
// or user-space file system may answer from a cache that another client's renames have not
// reached, so any other file system counts as not this host's.
bool OnThisHostsDisks(const QString& path);
