// The "list documents" request: which e-mail documents the server holds for a folder, one page
// at a time. Unlike the action requests, only "type" and "criteria" are prepared texts; the
// folder and the selection values go in as they are:
//
//   <SOAP:Envelope xmlns:SOAP="URN"><SOAP:Body><request><type>list documents</type>
//   <criteria>outlook email</criteria><location>Personal Folders\Inbox</location>
//   <include_sub_locations>False</include_sub_locations><sorted>False</sorted>
//   <maximum_matches>-1</maximum_matches><first_match>1</first_match>
//   <maximum_characters>-1</maximum_characters><user><id>7</id></user></request>
//   </SOAP:Body></SOAP:Envelope>
#pragma once

#include <cstdint>
#include <string>

#include "platform/SystemUtility.h"

namespace dks {

/// The selection of one page.
struct ListDocumentsQuery {
  std::string urn;             ///< the envelope's "xmlns:SOAP" value
  std::string folder;          ///< the folder's path text, trimmed into "location"
  bool subFolders = false;     ///< "include_sub_locations"
  bool sorted = false;         ///< "sorted"
  int32_t maxMatches = -1;     ///< "maximum_matches"; -1 leaves the page size to the server
  int32_t firstMatch = 1;      ///< "first_match", counted from 1
  int32_t maxCharacters = -1;  ///< "maximum_characters"; -1 for no limit
  int32_t userID = 0;          ///< "user"/"id"; empty for 0
};

/// Builds the request text for `query` into `strXML`. False, with `strXML` "", when the
/// utility reports failure preparing a text (nothing is recorded).
bool buildListDocumentsRequest(SystemUtility& utility, const ListDocumentsQuery& query,
                               std::string& strXML);

}  // namespace dks
