// The Containers package in one include: strings, lists, containers, memory
// buffers, resource containers and property stores.
#pragma once

#include "BitArray.h"
#include "CharClass.h"
#include "Container.h"
#include "ContainerErrors.h"
#include "ContainerItem.h"
#include "MemBuffer.h"
#include "MemBufferContainer.h"
#include "ObjectContainer.h"
#include "Properties.h"
#include "Resource.h"
#include "String.h"
#include "StringBuffer.h"
#include "StringContainer.h"
#include "StringHeap.h"
#include "ValueContainers.h"
