from tortoise import BaseDBAsyncClient

RUN_IN_TRANSACTION = False


async def upgrade(db: BaseDBAsyncClient) -> str:
    return """
        ALTER TABLE "user" ADD "nickname" VARCHAR(64) NOT NULL DEFAULT '';
        CREATE INDEX CONCURRENTLY "idx_user_nicknam_4b6e4a" ON "user" ("nickname");
        ALTER TABLE "user" RENAME COLUMN "name" TO "username";
        ALTER TABLE "public"."order" ALTER COLUMN "total" TYPE NUMERIC(12,2) USING "total"::NUMERIC(12,2);
        -- the old index; superseded
        DROP INDEX IF EXISTS "idx_order_status";
        ALTER TABLE "order" ADD CONSTRAINT "fk_order_user_1a2b3c" FOREIGN KEY ("user_id") REFERENCES "user" ("id") ON DELETE CASCADE;
        COMMENT ON COLUMN "user"."nickname" IS 'Display name; shown publicly';"""


async def downgrade(db: BaseDBAsyncClient) -> str:
    return """
        ALTER TABLE "user" DROP COLUMN "nickname";"""


MODELS_STATE = (
    "eJztmG1v2jAQx7/KKa+2iVWBQiGb9gLaTkVqKQK6VauqyCRHiBacNHZWUNXvPtsQkgpCEW2X"
    "LGKvIHfn2P7/7uzzo+EFLvrsaOBRhwYhAz4JIzTszTAGHe06cHjqAA8b0yPkogxJAwRgNmvD"
)
