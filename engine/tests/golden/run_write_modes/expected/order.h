// ORDER from library2go ()
struct Order {
    std::int64_t                                         type;  // "type"
    std::optional<std::chrono::system_clock::time_point> self;  // "self"
    std::optional<std::int32_t>                          authorId;  // "AuthorId"
};
// authorId refers to BookAuthor.authorId
