#pragma once
// The whole configuration held in memory: the ten data classes the main window owns.

#include "TCopyBlocksClass.h"
#include "TProgF15Class.h"
#include "TProgFBClass.h"
#include "TProgMBAClass.h"
#include "TProgMBMClass.h"
#include "TProgMRClass.h"
#include "TProgRegClass.h"
#include "TProgVegClass.h"
#include "TReservBlocksClass.h"
#include "TServClass.h"

struct TConfiguration {
    TServClass Serv;
    TProgMBAClass MBA;
    TProgMRClass MR;
    TProgMBMClass MBM;
    TProgVegClass Veg;
    TProgFBClass FB;
    TProgRegClass Reg;
    TProgF15Class F15;
    TReservBlocksClass Reserv;
    TCopyBlocksClass Copy;
};
