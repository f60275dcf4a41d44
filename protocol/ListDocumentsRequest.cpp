#include "protocol/ListDocumentsRequest.h"

#include "platform/Text.h"
#include "protocol/RequestBuilder.h"

namespace dks {

bool buildListDocumentsRequest(SystemUtility& utility, const ListDocumentsQuery& query,
                               std::string& strXML) {
  strXML.clear();
  RequestBuilder builder(utility, query.urn, "list documents");
  XmlElement request = builder.request();
  builder.text(request, "criteria", "outlook email");
  builder.plain(request, "location", trimSpaces(query.folder));
  builder.boolean(request, "include_sub_locations", query.subFolders);
  builder.boolean(request, "sorted", query.sorted);
  builder.plain(request, "maximum_matches", std::to_string(query.maxMatches));
  builder.plain(request, "first_match", std::to_string(query.firstMatch));
  builder.plain(request, "maximum_characters", std::to_string(query.maxCharacters));
  builder.user(query.userID);
  if (!builder.ok()) return false;
  strXML = builder.xml();
  return true;
}

}  // namespace dks
