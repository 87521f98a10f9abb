from tortoise import BaseDBAsyncClient


async def upgrade(db: BaseDBAsyncClient) -> str:
    return "CREATE TABLE IF NOT EXISTS tag (id INT); ALTER TABLE tag ADD label TEXT NOT NULL; CREATE TABLE memo (id INT); ALTER TABLE memo ADD body TEXT NOT NULL"
