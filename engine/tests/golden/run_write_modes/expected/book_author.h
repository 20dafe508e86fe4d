// BOOK_AUTHOR from library2go (Book & author)
struct BookAuthor {
    std::int32_t                                         authorId;  // "AuthorId"
    std::optional<std::string>                           class_;  // "<main> \"Class\""
    std::optional<std::string>                           addressLine2;  // "Tom's address"
    std::optional<std::int32_t>                          _2fa;  // "Two\\factor"
    std::optional<double>                                x;  // "x"
};
