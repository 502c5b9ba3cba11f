#pragma once

#include "Catalogue.h"

#include <memory>

class Connection;

// Every setting of a Brevo camera, page by page in the panel's tab order.
std::unique_ptr<Catalogue> brevoCatalogue(Connection& connection, CatalogueContext context = {});
