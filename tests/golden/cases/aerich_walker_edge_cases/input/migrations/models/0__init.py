from tortoise import BaseDBAsyncClient


def tables(db):
    return "CREATE TABLE IF NOT EXISTS shared (id INT); ALTER TABLE shared ADD flag INT NOT NULL"


async def upgrade(db: BaseDBAsyncClient) -> str:
    if db:
        tables(db)
    tables(db)
    return "CREATE TABLE IF NOT EXISTS account (id INT); COMMENT ON TABLE account IS 'x'; ALTER TABLE account ADD email TEXT NOT NULL"
