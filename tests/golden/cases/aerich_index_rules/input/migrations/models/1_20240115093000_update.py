from tortoise import BaseDBAsyncClient


async def upgrade(db: BaseDBAsyncClient) -> str:
    return """
        CREATE INDEX "idx_user_name_5c8e2a" ON "user" ("name");
        DROP INDEX IF EXISTS "idx_user_email_1b4f1c";"""


async def downgrade(db: BaseDBAsyncClient) -> str:
    return """
        DROP INDEX IF EXISTS "idx_user_name_5c8e2a";
        CREATE INDEX "idx_user_email_1b4f1c" ON "user" ("email");"""
