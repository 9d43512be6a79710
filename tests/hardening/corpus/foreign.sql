-- A valid SQLite database of some other program: an address book.
CREATE TABLE contacts (id INTEGER PRIMARY KEY, name TEXT NOT NULL, phone TEXT);
INSERT INTO contacts VALUES (1, '山田 花子', '03-0000-0000');
INSERT INTO contacts VALUES (2, 'Suzuki', NULL);
CREATE TABLE notes (id INTEGER PRIMARY KEY, body BLOB);
INSERT INTO notes VALUES (1, x'00ff00ff');
CREATE INDEX contacts_by_name ON contacts (name);
