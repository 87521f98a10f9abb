from tortoise import BaseDBAsyncClient


async def upgrade(db: BaseDBAsyncClient) -> str:
    # An empty quoted name is no table this migration created.
    return """
        CREATE TABLE "" (id INT);
        ALTER TABLE "" ADD COLUMN total INT NOT NULL;
        CREATE TABLE "loan" (id INT);
        ALTER TABLE "loan" ADD COLUMN days INT NOT NULL;"""


async def downgrade(db: BaseDBAsyncClient) -> str:
    return ""
