#pragma once

#include "Catalogue.h"

#include <memory>

class Connection;

// Every setting of a Tovane camera, page by page in the panel's tab order.
std::unique_ptr<Catalogue> tovaneCatalogue(Connection& connection, CatalogueContext context = {});
